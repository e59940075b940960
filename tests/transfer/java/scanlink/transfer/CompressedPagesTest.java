package scanlink.transfer;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Pages.assertIsTheExpectedPage;

import QZ.korvel.twain.Compression;
import QZ.korvel.twain.EncodedImage;
import QZ.korvel.twain.Page;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TransferMode;
import QZ.korvel.twain.documents.PdfDocument;
import java.awt.image.BufferedImage;
import java.io.IOException;
import java.io.InputStream;
import java.nio.file.Path;
import org.apache.pdfbox.cos.COSDictionary;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDResources;
import org.apache.pdfbox.pdmodel.graphics.image.PDImageXObject;
import org.junit.jupiter.api.extension.ExtendWith;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Pages;
import scanlink.virtualscanner.VirtualScanner;

/**
 * Pages a compressing source gives: kept as their bytes with their format, decoded on demand (a
 * JPEG page within JPEG's loss of the chart, a Group 4 page exactly), and written into a PDF
 * document as they came.
 */
@ExtendWith(CleanSession.class)
class CompressedPagesTest {
    @TempDir
    Path folder;

    @ParameterizedTest(name = "{0} by {1}")
    @CsvSource({
        "JPEG, MEMORY, RGB, JPEG, DCTDecode",
        "JPEG, MEMORY, GRAY, JPEG, DCTDecode",
        "GROUP4, MEMORY, BW, GROUP4, CCITTFaxDecode",
        "JPEG, FILE, RGB, JPEG, DCTDecode",
        "GROUP4, FILE, BW, TIFF, CCITTFaxDecode",
    })
    void aCompressedPageIsKeptAsItCameAndGoesIntoAPdfUnchanged(Compression compression,
            TransferMode mode, PixelType type, EncodedImage.Format format, String filter)
            throws Exception {
        try (ScanSession session = TransferModesTest.openAt(75, type)) {
            assertEquals(compression, session.setCompression(compression));
            Page page = TransferModesTest.scanOne(session, mode);
            EncodedImage encoded = page.encoded();
            assertEquals(format, encoded.format());
            assertEquals(mode, page.transfer());
            if (compression == Compression.JPEG) {
                assertNearTheExpectedPage(page.image(), 24);
            } else {
                assertIsTheExpectedPage(page.image());
            }
            Path pdf = folder.resolve("page.pdf");
            try (PdfDocument document = new PdfDocument(pdf)) {
                document.add(page);
            }
            try (PDDocument read = PDDocument.load(pdf.toFile())) {
                PDResources resources = read.getPage(0).getResources();
                PDImageXObject image = (PDImageXObject) resources.getXObject(
                        resources.getXObjectNames().iterator().next());
                assertEquals(COSName.getPDFName(filter),
                        image.getCOSObject().getDictionaryObject(COSName.FILTER));
                assertEquals(page.image().getWidth(), image.getWidth());
                if (format != EncodedImage.Format.TIFF) {
                    assertArrayEquals(encoded.bytes(), rawStream(image), "the bytes as they came");
                } else {
                    COSDictionary parameters = (COSDictionary) image.getCOSObject()
                            .getDictionaryObject(COSName.DECODE_PARMS);
                    assertEquals(-1, parameters.getInt(COSName.K));
                }
            }
        }
    }

    @ParameterizedTest
    @CsvSource({"JPEG, BW", "GROUP4, RGB"})
    void aCompressionThePixelTypeDoesNotTakeGivesAnUncompressedPage(Compression compression,
            PixelType type) throws Exception {
        try (ScanSession session = TransferModesTest.openAt(75, type)) {
            session.setCompression(compression);
            Page page = TransferModesTest.scanOne(session, TransferMode.MEMORY);
            assertEquals(null, page.encoded());
            assertIsTheExpectedPage(page.image());
        }
    }

    static byte[] rawStream(PDImageXObject image) throws IOException {
        try (InputStream raw = image.getCOSObject().createRawInputStream()) {
            return raw.readAllBytes();
        }
    }

    /** Every channel of every pixel within {@code tolerance} of the chart's, on average. */
    static void assertNearTheExpectedPage(BufferedImage image, int tolerance) {
        int[] expected = VirtualScanner.expectedPage();
        assertEquals(expected[0], image.getWidth());
        assertEquals(expected[1], image.getHeight());
        int[] actual = Pages.rgb(image);
        long difference = 0;
        for (int i = 0; i < actual.length; i++) {
            for (int shift = 0; shift < 24; shift += 8) {
                difference += Math.abs((actual[i] >> shift & 0xFF) - (expected[i + 2] >> shift & 0xFF));
            }
        }
        double mean = (double) difference / (3.0 * actual.length);
        assertTrue(mean < tolerance, "the mean difference from the chart is " + mean);
    }
}
