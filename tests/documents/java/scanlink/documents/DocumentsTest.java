package scanlink.documents;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Pages.rgb;

import QZ.korvel.twain.Page;
import QZ.korvel.twain.documents.PageDocument;
import QZ.korvel.twain.documents.PdfDocument;
import QZ.korvel.twain.documents.PngFile;
import QZ.korvel.twain.documents.TiffDocument;
import java.awt.image.BufferedImage;
import java.awt.image.IndexColorModel;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Iterator;
import java.util.List;
import java.util.stream.Stream;
import javax.imageio.ImageIO;
import javax.imageio.ImageReader;
import javax.imageio.ImageWriter;
import javax.imageio.metadata.IIOMetadata;
import javax.imageio.spi.IIORegistry;
import javax.imageio.spi.ImageWriterSpi;
import javax.imageio.stream.ImageInputStream;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.graphics.image.PDImageXObject;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.w3c.dom.Element;
import org.w3c.dom.Node;

/**
 * Pages written as PDF, TIFF and PNG and read back: each page at its own depth with its exact
 * pixels (gray pages with their levels), its paper's size or its resolution.
 */
class DocumentsTest {
    @TempDir Path folder;

    /** A page whose pixels differ from one to the next, of the image type given. */
    static BufferedImage image(int type) {
        BufferedImage image = type == BufferedImage.TYPE_BYTE_INDEXED
                ? new BufferedImage(61, 37, type, new IndexColorModel(8, 3,
                        new byte[] {(byte) 200, 10, 0}, new byte[] {30, (byte) 250, 0},
                        new byte[] {90, 60, (byte) 255}))
                : new BufferedImage(61, 37, type);
        for (int y = 0; y < image.getHeight(); y++) {
            for (int x = 0; x < image.getWidth(); x++) {
                int level = (x * 7 + y * 13) & 0xFF;
                switch (type) {
                    case BufferedImage.TYPE_BYTE_GRAY:
                        image.getRaster().setSample(x, y, 0, level);
                        break;
                    case BufferedImage.TYPE_BYTE_BINARY:
                        image.getRaster().setSample(x, y, 0, (x + y) % 3 == 0 ? 1 : 0);
                        break;
                    case BufferedImage.TYPE_BYTE_INDEXED:
                        image.getRaster().setSample(x, y, 0, (x + 2 * y) % 3);
                        break;
                    default:
                        image.setRGB(x, y, level << 16 | (255 - level) << 8 | (x * 4));
                }
            }
        }
        return image;
    }

    static Stream<Arguments> pageTypes() {
        return Stream.of(
                Arguments.of("black and white", BufferedImage.TYPE_BYTE_BINARY, "CCITTFaxDecode",
                        "DeviceGray", 1, "CCITT T.6"),
                Arguments.of("gray", BufferedImage.TYPE_BYTE_GRAY, "FlateDecode", "DeviceGray", 8,
                        "Deflate"),
                Arguments.of("palette", BufferedImage.TYPE_BYTE_INDEXED, "FlateDecode",
                        "DeviceRGB", 8, "Deflate"),
                Arguments.of("rgb", BufferedImage.TYPE_INT_RGB, "FlateDecode", "DeviceRGB", 8,
                        "Deflate"));
    }

    /** The one image on a PDF page. */
    static PDImageXObject imageOf(PDPage page) throws IOException {
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

    /** The samples as a PDF reader gets them: for gray, the levels themselves. */
    static int[] samples(PDImageXObject image) throws IOException {
        return image.getRawRaster().getPixels(0, 0, image.getWidth(), image.getHeight(),
                (int[]) null);
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("pageTypes")
    void aPdfPageHoldsThePixelsAtTheirDepthOnItsPapersSize(String name, int type, String filter,
            String colorSpace, int bits, String tiffCompression) throws Exception {
        BufferedImage scanned = image(type);
        Path file = folder.resolve("page.pdf");
        try (PageDocument pdf = new PdfDocument(file)) {
            pdf.add(new Page(1, scanned, 61, 37 / 2.0));
            pdf.add(new Page(2, scanned, 0, 0));
            assertEquals(2, pdf.pageCount());
            assertFalse(Files.exists(file), "written by close()");
        }
        try (PDDocument document = PDDocument.load(file.toFile())) {
            assertEquals(2, document.getNumberOfPages());
            // One inch by two at the resolution given; 72 dpi when none was told.
            assertEquals(72f, document.getPage(0).getMediaBox().getWidth(), 1e-3);
            assertEquals(144f, document.getPage(0).getMediaBox().getHeight(), 1e-3);
            assertEquals(61f, document.getPage(1).getMediaBox().getWidth(), 1e-3);
            PDImageXObject image = imageOf(document.getPage(0));
            assertEquals(filter, filterOf(image));
            assertEquals(colorSpace, image.getColorSpace().getName());
            assertEquals(bits, image.getBitsPerComponent());
            if (type == BufferedImage.TYPE_BYTE_GRAY) {
                // The levels themselves, not the lighter ones that getRGB gives.
                assertArrayEquals(levels(scanned), samples(image));
            } else {
                assertArrayEquals(rgb(scanned), rgb(image.getImage()));
            }
        }
    }

    /** The gray levels that a TYPE_BYTE_GRAY raster holds. */
    static int[] levels(BufferedImage image) {
        return image.getRaster().getPixels(0, 0, image.getWidth(), image.getHeight(), (int[]) null);
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("pageTypes")
    void aTiffPageHoldsThePixelsLosslesslyWithItsResolution(String name, int type, String filter,
            String colorSpace, int bits, String tiffCompression) throws Exception {
        BufferedImage scanned = image(type);
        Path file = folder.resolve("pages.tiff");
        try (PageDocument tiff = PageDocument.create(file)) {
            tiff.add(new Page(1, scanned, 150, 75));
            tiff.add(new Page(2, scanned, 150, 75));
        }
        try (ImageInputStream in = ImageIO.createImageInputStream(file.toFile())) {
            ImageReader reader = ImageIO.getImageReaders(in).next();
            reader.setInput(in);
            assertEquals(2, reader.getNumImages(true));
            IIOMetadata metadata = reader.getImageMetadata(1);
            assertEquals(tiffCompression, standardValue(metadata, "CompressionTypeName"));
            assertEquals(25.4 / 150,
                    Double.parseDouble(standardValue(metadata, "HorizontalPixelSize")), 1e-6);
            assertEquals(25.4 / 75,
                    Double.parseDouble(standardValue(metadata, "VerticalPixelSize")), 1e-6);
            BufferedImage read = reader.read(1);
            assertArrayEquals(rgb(scanned), rgb(read));
        }
    }

    @Test
    void aPngFileHoldsThePageWithItsResolution() throws Exception {
        BufferedImage scanned = image(BufferedImage.TYPE_BYTE_GRAY);
        Path file = folder.resolve("page.png");
        Files.writeString(file, "an older file, longer than what replaces it".repeat(100));
        PngFile.write(new Page(1, scanned, 300, 300), file);
        try (ImageInputStream in = ImageIO.createImageInputStream(file.toFile())) {
            ImageReader reader = ImageIO.getImageReaders(in).next();
            reader.setInput(in);
            BufferedImage read = reader.read(0);
            assertEquals(BufferedImage.TYPE_BYTE_GRAY, read.getType());
            assertArrayEquals(rgb(scanned), rgb(read));
            assertEquals(25.4 / 300, Double.parseDouble(
                    standardValue(reader.getImageMetadata(0), "HorizontalPixelSize")), 1e-4);
        }
    }

    @Test
    void aDocumentWithoutPagesWritesNoFileAndClosesOnce() throws Exception {
        for (String name : new String[] {"none.pdf", "none.tif"}) {
            Path file = folder.resolve(name);
            PageDocument document = PageDocument.create(file);
            document.close();
            document.close();
            assertFalse(Files.exists(file), name);
            assertEquals("the document " + file + " is closed", assertThrows(
                    IllegalStateException.class,
                    () -> document.add(new Page(1, image(BufferedImage.TYPE_INT_RGB), 0, 0)))
                    .getMessage());
        }
        assertEquals("a document's name ends in .pdf, .tif or .tiff, unlike " + folder.resolve("a.png"),
                assertThrows(IllegalArgumentException.class,
                        () -> PageDocument.create(folder.resolve("a.png"))).getMessage());
    }

    @Test
    void aFileThatCannotBeWrittenIsNamedWithTheReason() throws Exception {
        Page page = new Page(1, image(BufferedImage.TYPE_BYTE_GRAY), 100, 100);
        for (String name : new String[] {"folder.pdf", "folder.tif", "folder.png"}) {
            Path file = Files.createDirectory(folder.resolve(name));
            IOException e = assertThrows(IOException.class, () -> {
                if (name.endsWith(".png")) {
                    PngFile.write(page, file);
                    return;
                }
                try (PageDocument document = PageDocument.create(file)) {
                    document.add(page);
                }
            });
            assertTrue(e.getMessage().startsWith("cannot write " + file + ": "), e.getMessage());
            assertFalse(e.getMessage().contains("\n"), e.getMessage());
        }
    }

    /** Java 8's javax.imageio has no TIFF writer: the document says so rather than failing later. */
    @Test
    void withoutATiffWriterATiffDocumentSaysWhatItNeeds() {
        IIORegistry registry = IIORegistry.getDefaultInstance();
        List<ImageWriterSpi> removed = new ArrayList<>();
        for (Iterator<ImageWriterSpi> it = registry.getServiceProviders(ImageWriterSpi.class, true);
                it.hasNext();) {
            ImageWriterSpi writer = it.next();
            if (List.of(writer.getFormatNames()).contains("tiff")) {
                removed.add(writer);
            }
        }
        assertFalse(removed.isEmpty());
        removed.forEach(registry::deregisterServiceProvider);
        try {
            UnsupportedOperationException e = assertThrows(UnsupportedOperationException.class,
                    () -> new TiffDocument(folder.resolve("x.tif")));
            assertEquals("javax.imageio of this Java runtime (Java "
                    + System.getProperty("java.version")
                    + ") has no tiff writer: writing TIFF needs Java 9 or later", e.getMessage());
        } finally {
            removed.forEach(registry::registerServiceProvider);
        }
        ImageWriter writer = ImageIO.getImageWritersByFormatName("tiff").next();
        writer.dispose();
    }

    static String standardValue(IIOMetadata metadata, String node) {
        return find(metadata.getAsTree("javax_imageio_1.0"), node);
    }

    static String find(Node node, String name) {
        if (node.getNodeName().equals(name)) {
            return ((Element) node).getAttribute("value");
        }
        for (Node child = node.getFirstChild(); child != null; child = child.getNextSibling()) {
            String value = find(child, name);
            if (value != null) {
                return value;
            }
        }
        return null;
    }
}
