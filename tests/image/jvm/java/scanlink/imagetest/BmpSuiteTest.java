package scanlink.imagetest;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.BufferedImageConsumer;
import java.awt.Toolkit;
import java.awt.image.BufferedImage;
import java.awt.image.ImageObserver;
import java.awt.image.MemoryImageSource;
import java.awt.image.PixelGrabber;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Map;
import java.util.TreeSet;
import java.util.stream.Stream;
import javax.imageio.ImageIO;
import org.junit.jupiter.api.DynamicTest;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.TestFactory;
import scanlink.imagetest.DibHarness.Delivery;
import scanlink.testsupport.Pages;

/**
 * Every file of the BMP suite, stripped of its 14-byte file header, delivered to the platform's
 * PixelGrabber. A file whose header this library reads (40 bytes, BI_RGB or BI_BITFIELDS, 1 to 32
 * bits) must give, pixel for pixel, the RGB that ImageIO reads from the file, unless it is listed
 * below with its reason; every other file is refused with its fixed message.
 */
class BmpSuiteTest {
    private static final Path SUITE = Path.of(System.getenv("BMPSUITE_DIR"));
    private static final String INVALID_IMAGE = "Invalid image!";

    private record Failure(Class<? extends Throwable> type, String message) {}

    /**
     * Files in scope that are not delivered. ImageIO fails on all of them but badpalettesize,
     * whose color-table count it ignores.
     */
    private static final Map<String, Failure> NOT_DELIVERED = Map.of(
        // 305,402,420 color entries: a table of 1.2 GB claimed in a 9 KB block.
        "b/badpalettesize.bmp", new Failure(Exception.class, INVALID_IMAGE),
        // 3,000,000 by 2,000,000 pixels of 24 bits: 18 TB of rows claimed in 24 KB.
        "b/reallybig.bmp", new Failure(Exception.class, INVALID_IMAGE),
        // 211 of its 1,024 pixel bytes.
        "b/shortfile.bmp", new Failure(Exception.class, INVALID_IMAGE),
        // Width -127: taken as stated, it makes the first row's array fail after setColorModel.
        "b/badwidth.bmp", new Failure(NegativeArraySizeException.class, "-127"));
    // The in-scope files with quirks that still match ImageIO: pal8offs once re-packed (its pixels
    // lie 100 bytes after its table); pal1p1 and pal8badindex, whose indices beyond their tables
    // read as black in both; pal8oversizepal and rgb24largepal, with 300 entries; rgb32fakealpha,
    // whose unused top bytes are cleared; rgb32bf, rgb32-7187 and rgb32-111110, whose red masks
    // lie in the top byte of their 32-bit bit-field pixels, so that they match only because such
    // pixels are delivered whole.

    private record Entry(String set, String file, int fileSize, int bfOffBits, int biSize,
        int bitCount, String compression, long clrUsed, boolean packed, boolean inScope) {
        Path path() {
            return SUITE.resolve(set).resolve(file);
        }

        String name() {
            return set + "/" + file;
        }
    }

    private static List<Entry> index() throws IOException {
        List<String> lines = Files.readAllLines(SUITE.resolve("index.tsv"));
        List<String> columns = Arrays.asList(lines.get(0).split("\t", -1));
        List<Entry> entries = new ArrayList<>();
        for (String line : lines.subList(1, lines.size())) {
            String[] fields = line.split("\t", -1);
            java.util.function.Function<String, String> field = c -> fields[columns.indexOf(c)];
            entries.add(new Entry(field.apply("set"), field.apply("file"),
                Integer.parseInt(field.apply("file_size")),
                Integer.parseInt(field.apply("bfOffBits")), Integer.parseInt(field.apply("biSize")),
                Integer.parseInt(field.apply("bitcount")), field.apply("compression"),
                Long.parseLong(field.apply("clrUsed")), field.apply("packed").equals("yes"),
                field.apply("in_scope").equals("yes")));
        }
        return entries;
    }

    /**
     * The file without its file header; where the file leaves a gap between its color table and
     * its pixels, the pixels are moved up to follow the table, as in a packed DIB.
     */
    private static byte[] packedDib(Entry e) throws IOException {
        byte[] file = Files.readAllBytes(e.path());
        long colors = e.clrUsed() != 0 || e.bitCount() > 8 ? e.clrUsed() : 1L << e.bitCount();
        long tableEnd =
            14 + e.biSize() + (e.compression().equals("BITFIELDS") ? 12 : 0) + 4 * colors;
        byte[] header = Arrays.copyOfRange(file, 14, (int) Math.min(tableEnd, file.length));
        if (e.packed() || tableEnd > e.bfOffBits()) {
            return Arrays.copyOfRange(file, 14, file.length);
        }
        byte[] pixels = Arrays.copyOfRange(file, e.bfOffBits(), file.length);
        byte[] dib = Arrays.copyOf(header, header.length + pixels.length);
        System.arraycopy(pixels, 0, dib, header.length, pixels.length);
        return dib;
    }

    private static PixelGrabber newGrabber() {
        // The grabber only tells its producer that it is done; any producer will do.
        var source = new MemoryImageSource(1, 1, new int[1], 0, 1);
        return new PixelGrabber(
            Toolkit.getDefaultToolkit().createImage(source), 0, 0, -1, -1, true);
    }

    /** The message of a header outside the library's scope, by the order its tests run in. */
    private static String refusalOf(Entry e) {
        if (e.biSize() != 40) {
            return "Unsupported image type!";
        }
        if (!e.compression().equals("RGB") && !e.compression().equals("BITFIELDS")) {
            return "Unsuported DIB compression type!";
        }
        return "Unsupported image type!";
    }

    @Test
    void theIndexListsEveryFileOfTheSuite() throws IOException {
        TreeSet<String> onDisk = new TreeSet<>();
        for (String set : List.of("g", "q", "b")) {
            try (Stream<Path> files = Files.list(SUITE.resolve(set))) {
                files.forEach(f -> onDisk.add(set + "/" + f.getFileName()));
            }
        }
        TreeSet<String> indexed = new TreeSet<>();
        index().forEach(e -> indexed.add(e.name()));
        assertEquals(onDisk, indexed);
        assertEquals(44, index().stream().filter(Entry::inScope).count());
    }

    @TestFactory
    Stream<DynamicTest> everyFileMatchesImageIoOrIsRefused() throws IOException {
        return index().stream().map(e -> DynamicTest.dynamicTest(e.name(), () -> {
            PixelGrabber grabber = newGrabber();
            Delivery delivery = DibHarness.deliver(grabber, packedDib(e));
            Failure expected = e.inScope() ? NOT_DELIVERED.get(e.name())
                                           : new Failure(Exception.class, refusalOf(e));
            if (expected != null) {
                assertFalse(delivery.result());
                assertNotNull(delivery.thrown());
                assertSame(expected.type(), delivery.thrown().getClass());
                assertEquals(expected.message(), delivery.thrown().getMessage());
                return;
            }
            assertNull(delivery.thrown());
            assertTrue(delivery.result());
            assertTrue((grabber.getStatus() & ImageObserver.ALLBITS) != 0);
            BufferedImage reference = ImageIO.read(e.path().toFile());
            assertEquals(reference.getWidth(), grabber.getWidth());
            assertEquals(reference.getHeight(), grabber.getHeight());
            int[] pixels = (int[]) grabber.getPixels();
            int width = grabber.getWidth();
            for (int y = 0; y < grabber.getHeight(); y++) {
                for (int x = 0; x < width; x++) {
                    int expectedRgb = reference.getRGB(x, y) & 0xFFFFFF;
                    int actualRgb = pixels[y * width + x] & 0xFFFFFF;
                    if (expectedRgb != actualRgb) {
                        assertEquals(String.format("%06x", expectedRgb),
                            String.format("%06x", actualRgb), "pixel " + x + ", " + y);
                    }
                }
            }
        }));
    }

    /** The image types that the consumer of the binding gives pages of these kinds. */
    private static final Map<String, Integer> BUFFERED_IMAGE_TYPES = Map.of(
        "g/pal1wb.bmp", BufferedImage.TYPE_BYTE_BINARY, // black and white
        "g/pal1bg.bmp", BufferedImage.TYPE_BYTE_BINARY, // blue and green
        "g/pal4gs.bmp", BufferedImage.TYPE_BYTE_GRAY,
        "g/pal8gs.bmp", BufferedImage.TYPE_BYTE_GRAY,
        "g/pal4.bmp", BufferedImage.TYPE_BYTE_INDEXED,
        "g/pal8.bmp", BufferedImage.TYPE_BYTE_INDEXED,
        "g/rgb16.bmp", BufferedImage.TYPE_INT_RGB,
        "g/rgb24.bmp", BufferedImage.TYPE_INT_RGB,
        "q/rgb32-111110.bmp", BufferedImage.TYPE_INT_RGB);

    /**
     * The binding's BufferedImageConsumer holds, pixel for pixel, what the PixelGrabber receives
     * from the same delivery, and fails where it fails.
     */
    @TestFactory
    Stream<DynamicTest> theBufferedImageConsumerHoldsWhatThePixelGrabberGets() throws IOException {
        return index().stream().map(e -> DynamicTest.dynamicTest(e.name(), () -> {
            byte[] dib = packedDib(e);
            PixelGrabber grabber = newGrabber();
            Delivery grabbed = DibHarness.deliver(grabber, dib);
            BufferedImageConsumer consumer = new BufferedImageConsumer();
            Delivery built = DibHarness.deliver(consumer, dib);
            assertEquals(grabbed.result(), built.result());
            if (!grabbed.result()) {
                assertSame(grabbed.thrown().getClass(), built.thrown().getClass());
                assertEquals(grabbed.thrown().getMessage(), built.thrown().getMessage());
                assertNull(consumer.image());
                return;
            }
            BufferedImage image = consumer.image();
            assertEquals(grabber.getWidth(), image.getWidth());
            assertEquals(grabber.getHeight(), image.getHeight());
            Integer type = BUFFERED_IMAGE_TYPES.get(e.name());
            if (type != null) {
                assertEquals(type, image.getType());
            }
            int[] expected = (int[]) grabber.getPixels();
            int[] actual = Pages.rgb(image);
            for (int i = 0; i < expected.length; i++) {
                if ((expected[i] & 0xFFFFFF) != actual[i]) {
                    assertEquals(String.format("%06x", expected[i] & 0xFFFFFF),
                        String.format("%06x", actual[i]),
                        "pixel " + i % image.getWidth() + ", " + i / image.getWidth());
                }
            }
        }));
    }

    @Test
    void theTenBitSampleReallyUsesTheTopByte() throws IOException {
        Entry sample = index()
                           .stream()
                           .filter(e -> e.name().equals("q/rgb32-111110.bmp"))
                           .findFirst()
                           .orElseThrow();
        RecordingConsumer consumer = new RecordingConsumer();
        assertTrue(DibHarness.deliver(consumer, packedDib(sample)).result());
        boolean topByteUsed = false;
        for (int y = 0; y < consumer.rows.size(); y++) {
            for (int pixel : consumer.intRow(y)) {
                topByteUsed |= (pixel >>> 24) != 0;
            }
        }
        assertTrue(topByteUsed);
    }
}
