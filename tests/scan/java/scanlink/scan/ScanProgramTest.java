package scanlink.scan;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertInstanceOf;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Pages.assertIsTheExpectedPage;
import static scanlink.testsupport.Pages.rgb;

import QZ.korvel.twain.Frame;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.Trace;
import QZ.korvel.twain.TwainEx;
import QZ.korvel.twain.TwainException;
import QZ.korvel.twain.Units;
import java.awt.image.BufferedImage;
import java.io.File;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import javax.imageio.ImageIO;
import javax.imageio.ImageReader;
import javax.imageio.metadata.IIOMetadata;
import javax.imageio.stream.ImageInputStream;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.common.PDRectangle;
import org.apache.pdfbox.pdmodel.graphics.image.PDImageXObject;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import org.w3c.dom.Element;
import org.w3c.dom.Node;
import scanlink.testsupport.CleanSession;
import scanlink.virtualscanner.VirtualScanner;

/**
 * The scan program through the real JVM against the virtual scanner; every file it writes is read
 * back, with PDFBox for PDF and javax.imageio for PNG and TIFF, and compared pixel for pixel with
 * what the scanner put on its glass.
 */
@ExtendWith(CleanSession.class)
class ScanProgramTest {
    static final Path SUITE = Path.of(System.getenv("BMP_SUITE"));

    @TempDir Path folder;

    static ScanOptions options(String... args) throws Exception {
        return ScanOptions.parse(args);
    }

    /** Opens the source with these settings, so that it tells what it scans with them. */
    static void setTheSource(PixelType type, double dotsPerInch) {
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Scan program"));
        assertTrue(TwainEx.openSource());
        assertTrue(TwainEx.setPixelType(type.code()));
        assertTrue(TwainEx.setXResolution(dotsPerInch));
        assertTrue(TwainEx.setYResolution(dotsPerInch));
    }

    /** The one image on a PDF page. */
    static PDImageXObject imageOf(PDPage page) throws Exception {
        List<PDImageXObject> images = new ArrayList<>();
        for (COSName name : page.getResources().getXObjectNames()) {
            images.add((PDImageXObject) page.getResources().getXObject(name));
        }
        assertEquals(1, images.size());
        return images.get(0);
    }

    static String filterOf(PDImageXObject image) {
        return ((COSName) image.getCOSObject().getDictionaryObject(COSName.FILTER)).getName();
    }

    /** A value of the standard metadata of an image read by javax.imageio. */
    static String standardValue(IIOMetadata metadata, String node, String attribute) {
        return find(metadata.getAsTree("javax_imageio_1.0"), node, attribute);
    }

    static String find(Node node, String name, String attribute) {
        if (node.getNodeName().equals(name)) {
            return ((Element) node).getAttribute(attribute);
        }
        for (Node child = node.getFirstChild(); child != null; child = child.getNextSibling()) {
            String value = find(child, name, attribute);
            if (value != null) {
                return value;
            }
        }
        return null;
    }

    @Test
    void writesTheChartAsAPngAndTakesTheSessionDown() throws Exception {
        Path out = folder.resolve("chart.png");
        assertEquals(1, Scan.run(options(out.toString())));
        assertIsTheExpectedPage(ImageIO.read(out.toFile()));
        assertEquals(1, TwainEx.getState());
    }

    @Test
    void severalPagesGetNumberedPngFiles() throws Exception {
        Path out = folder.resolve("page.png");
        assertEquals(3, Scan.run(options("--pages", "3", out.toString())));
        for (int page = 1; page <= 3; page++) {
            assertIsTheExpectedPage(ImageIO.read(folder.resolve("page-" + page + ".png").toFile()));
        }
        assertFalse(Files.exists(out));
    }

    @Test
    void aPdfHasAPageOfThePhysicalSizeForEachScanWithItsPixels() throws Exception {
        Path out = folder.resolve("out.pdf");
        assertEquals(3, Scan.run(options("--pages", "3", out.toString())));
        try (PDDocument pdf = PDDocument.load(out.toFile())) {
            assertEquals(3, pdf.getNumberOfPages());
            for (PDPage page : pdf.getPages()) {
                // 850 x 1100 pixels at 100 dpi: the glass, 8.5 by 11 inches.
                PDRectangle box = page.getMediaBox();
                assertEquals(612f, box.getWidth(), 1e-3);
                assertEquals(792f, box.getHeight(), 1e-3);
                PDImageXObject image = imageOf(page);
                assertEquals("FlateDecode", filterOf(image));
                assertEquals("DeviceRGB", image.getColorSpace().getName());
                assertIsTheExpectedPage(image.getImage());
            }
        }
    }

    @Test
    void blackAndWhitePdfPagesAreGroupFourAndGrayPagesKeepTheirLevels() throws Exception {
        Path bw = folder.resolve("bw.pdf");
        Scan.run(options("--pixel-type", "bw", "--resolution", "150", bw.toString()));
        try (PDDocument pdf = PDDocument.load(bw.toFile())) {
            PDPage page = pdf.getPage(0);
            // Twice the pixels of the default resolution, the same paper.
            assertEquals(612f, page.getMediaBox().getWidth(), 1e-3);
            assertEquals(792f, page.getMediaBox().getHeight(), 1e-3);
            PDImageXObject image = imageOf(page);
            assertEquals("CCITTFaxDecode", filterOf(image));
            assertEquals(1, image.getBitsPerComponent());
            assertEquals(1275, image.getWidth());
            assertIsTheExpectedPage(image.getImage());
        }
        Path gray = folder.resolve("gray.pdf");
        Scan.run(options("--pixel-type", "gray", "--resolution", "75", "--frame", "1,1,3,2",
                gray.toString()));
        try (PDDocument pdf = PDDocument.load(gray.toFile())) {
            PDPage page = pdf.getPage(0);
            assertEquals(144f, page.getMediaBox().getWidth(), 1e-3); // 2 inches
            assertEquals(72f, page.getMediaBox().getHeight(), 1e-3);
            PDImageXObject image = imageOf(page);
            assertEquals("FlateDecode", filterOf(image));
            assertEquals("DeviceGray", image.getColorSpace().getName());
            // The raw samples are the scanned levels, not levels lightened by a conversion.
            setTheSource(PixelType.GRAY, 75);
            assertTrue(TwainEx.setFrame(1, 1, 3, 2));
            int[] expected = VirtualScanner.expectedPage();
            int[] samples = image.getRawRaster().getPixels(0, 0, 150, 75, (int[]) null);
            for (int i = 0; i < samples.length; i++) {
                assertEquals(expected[i + 2] & 0xFF, samples[i], "sample " + i);
            }
        }
    }

    @Test
    void aTiffHoldsEveryPageLosslesslyWithItsResolution() throws Exception {
        Path out = folder.resolve("out.tiff");
        assertEquals(2, Scan.run(options("--pages", "2", "--pixel-type", "gray", "--resolution",
                                         "150", out.toString())));
        Path bw = folder.resolve("bw.tif");
        assertEquals(1, Scan.run(options("--pixel-type", "bw", bw.toString())));
        try (ImageInputStream in = ImageIO.createImageInputStream(out.toFile())) {
            ImageReader reader = ImageIO.getImageReaders(in).next();
            reader.setInput(in);
            assertEquals(2, reader.getNumImages(true));
            for (int page = 0; page < 2; page++) {
                BufferedImage image = reader.read(page);
                assertEquals(BufferedImage.TYPE_BYTE_GRAY, image.getType());
                assertEquals(1275, image.getWidth());
                IIOMetadata metadata = reader.getImageMetadata(page);
                assertEquals("Deflate",
                        standardValue(metadata, "CompressionTypeName", "value"));
                assertEquals(25.4 / 150,
                        Double.parseDouble(standardValue(metadata, "HorizontalPixelSize", "value")),
                        1e-6);
            }
        }
        try (ImageInputStream in = ImageIO.createImageInputStream(bw.toFile())) {
            ImageReader reader = ImageIO.getImageReaders(in).next();
            reader.setInput(in);
            assertEquals("CCITT T.6",
                    standardValue(reader.getImageMetadata(0), "CompressionTypeName", "value"));
        }
        setTheSource(PixelType.GRAY, 150);
        assertIsTheExpectedPage(ImageIO.read(out.toFile()));
        setTheSource(PixelType.BW, 100);
        assertIsTheExpectedPage(ImageIO.read(bw.toFile()));
    }

    @Test
    void theFeederIsScannedUntilEmptyAndAnEmptyFeederIsAFailure() throws Exception {
        VirtualScanner.setKnob("feeder.sheets", 3);
        Path out = folder.resolve("feed.pdf");
        assertEquals(3, Scan.run(options("--feeder", "--pages", "5", out.toString())));
        try (PDDocument pdf = PDDocument.load(out.toFile())) {
            assertEquals(3, pdf.getNumberOfPages());
        }
        VirtualScanner.setKnob("feeder.sheets", 0);
        Exception e = assertThrows(Exception.class,
                () -> Scan.run(options("--feeder", folder.resolve("none.pdf").toString())));
        assertEquals("the document feeder is empty", e.getMessage());
        assertFalse(Files.exists(folder.resolve("none.pdf")));
    }

    /** Without --pages the glass gives one page and the feeder all its sheets, both sides too. */
    @ParameterizedTest(name = "{1}, {2} sheets, scan {0}: {3} pages")
    @CsvSource({
        "'--duplex', Virtual Duplex Feeder, 2, 4",
        "'--duplex --pages 3', Virtual Duplex Feeder, 2, 3",
        "'--feeder', Virtual Scanner, 3, 3",
        "'--feeder --pages 2', Virtual Scanner, 3, 2",
        "'--pages 2', Virtual Scanner, 3, 2",
        "'', Virtual Scanner, 3, 1",
    })
    void theFeederIsScannedUntilEmptyUnlessACountIsGiven(String arguments, String source,
            int sheets, int pages) throws Exception {
        VirtualScanner.setKnob("feeder.sheets", sheets);
        List<String> args = new ArrayList<>(List.of("--source", source));
        if (!arguments.isEmpty()) {
            args.addAll(List.of(arguments.split(" ")));
        }
        Path out = folder.resolve("run.pdf");
        args.add(out.toString());
        assertEquals(pages, Scan.run(options(args.toArray(new String[0]))));
        try (PDDocument pdf = PDDocument.load(out.toFile())) {
            assertEquals(pages, pdf.getNumberOfPages());
        }
    }

    @Test
    void aFrameTakesFractionsOfAnInch() throws Exception {
        Path out = folder.resolve("part.png");
        assertEquals(1, Scan.run(options("--frame", "0,0,4.5,5.25", out.toString())));
        BufferedImage page = ImageIO.read(out.toFile());
        assertEquals(450, page.getWidth());
        assertEquals(525, page.getHeight());
    }

    @Test
    void traceWritesTheRequestsOfTheScanToItsFile() throws Exception {
        Path trace = folder.resolve("scan.trace");
        try {
            assertEquals(1, Scan.run(options("--trace", trace.toString(),
                    folder.resolve("traced.png").toString())));
        } finally {
            Trace.stop();
        }
        String lines = new String(Files.readAllBytes(trace), StandardCharsets.UTF_8);
        assertTrue(lines.contains("DG_CONTROL/DAT_PARENT/MSG_OPENDSM to manager -> TWRC_SUCCESS"),
                lines);
        assertTrue(lines.contains("page delivered: 850 x 1100 pixels"), lines);
    }

    @Test
    void pagesBeforeAFailingPageAreWrittenAndTheFailureNamesThePage() throws Exception {
        String good = SUITE.resolve("g/rgb24.bmp").toString();
        VirtualScanner.setPageFiles(String.join(File.pathSeparator, good, good,
                SUITE.resolve("b/badbitcount.bmp").toString(), good, good));
        Path out = folder.resolve("partial.pdf");
        TwainException e = assertThrows(TwainException.class,
                () -> Scan.run(options("--pages", "5", out.toString())));
        assertEquals("reading page 3", e.step());
        assertEquals("reading page 3 failed: Unsupported image type!", e.getMessage());
        try (PDDocument pdf = PDDocument.load(out.toFile())) {
            assertEquals(2, pdf.getNumberOfPages());
            BufferedImage expected = ImageIO.read(new File(good));
            for (PDPage page : pdf.getPages()) {
                assertArrayEquals(rgb(expected), rgb(imageOf(page).getImage()));
            }
        }
        assertEquals(1, TwainEx.getState());
    }

    @Test
    void aFailureNamesTheStepAndTheTwainCodes() {
        VirtualScanner.script(1, 3, 0x0401, 1, 3, 1); // MSG_OPENDS fails with TWCC_NODS
        TwainException e = assertThrows(TwainException.class,
                () -> Scan.run(options(folder.resolve("x.png").toString())));
        assertEquals("opening the default source failed (TWAIN result code 1 (TWRC_FAILURE), "
                + "condition code 3 (TWCC_NODS), state 3)", e.getMessage());
    }

    @Test
    void aPageTheLibraryCannotReadIsAFailureToo() {
        VirtualScanner.setKnob("transfer.bad_handle", 1);
        TwainException e = assertThrows(TwainException.class,
                () -> Scan.run(options(folder.resolve("x.png").toString())));
        assertEquals("reading page 1 failed: Invalid image!", e.getMessage());
        assertEquals("Invalid image!", e.getCause().getMessage());
        assertFalse(Files.exists(folder.resolve("x.png")));
    }

    @Test
    void unusableCommandLinesAreRefused() {
        assertThrows(ScanOptions.UsageException.class, () -> options());
        assertThrows(ScanOptions.UsageException.class, () -> options("--pages", "0", "a.png"));
        assertThrows(ScanOptions.UsageException.class, () -> options("--pixel-type", "cmyk", "a"));
        assertThrows(ScanOptions.UsageException.class, () -> options("--frame", "1,2,3", "a.png"));
        assertThrows(ScanOptions.UsageException.class, () -> options("a.png", "b.png"));
        assertThrows(ScanOptions.UsageException.class, () -> options("--resolution"));
        assertThrows(ScanOptions.UsageException.class, () -> options("scan.jpg"));
        assertThrows(ScanOptions.UsageException.class, () -> options("scan"));
        assertThrows(ScanOptions.UsageException.class,
                () -> options("--frame", "0,0,40000,1", "a.pdf"));
        assertThrows(ScanOptions.UsageException.class,
                () -> options("--resolution", "32768", "a.pdf"));
    }

    @Test
    void optionsAreReadAsGiven() throws Exception {
        ScanOptions o = options("--resolution", "150", "--pixel-type", "gray", "--frame",
                "0.5, 1,4,5.5", "--feeder", "--show-ui", "--pages", "2", "out.png");
        assertEquals(150.0, o.resolution);
        assertEquals(PixelType.GRAY, o.pixelType);
        assertEquals(new Frame(0.5, 1, 4, 5.5, Units.INCHES), o.frame);
        assertTrue(o.feeder && o.showUi);
        assertEquals(2, o.maxPages());
        assertEquals(Path.of("out-2.png"), o.pageFile(2));
        assertEquals(ScanOptions.Format.PNG, o.format);
        assertEquals(ScanOptions.Format.TIFF, options("a.TIF").format);
        assertEquals(ScanOptions.Format.TIFF, options("a.tiff").format);
        assertEquals(ScanOptions.Format.PDF, options("dir/a.pdf").format);
    }
}
