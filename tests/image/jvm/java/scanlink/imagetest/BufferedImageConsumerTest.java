package scanlink.imagetest;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.BufferedImageConsumer;
import java.awt.Toolkit;
import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.DataBuffer;
import java.awt.image.DirectColorModel;
import java.awt.image.ImageConsumer;
import java.awt.image.IndexColorModel;
import java.awt.image.MemoryImageSource;
import java.awt.image.PixelGrabber;
import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.Test;
import scanlink.imagetest.DibHarness.Delivery;
import scanlink.testsupport.Pages;

/**
 * The binding's consumer on pages made byte by byte: the image type it picks, every pixel against
 * what a PixelGrabber receives from the same delivery, the memory it takes, and the parts of the
 * consumer protocol that the library never uses but another producer may.
 */
class BufferedImageConsumerTest {
    static PixelGrabber newGrabber() {
        var source = new MemoryImageSource(1, 1, new int[1], 0, 1);
        return new PixelGrabber(
            Toolkit.getDefaultToolkit().createImage(source), 0, 0, -1, -1, true);
    }

    /** Delivers the DIB to a grabber and to the consumer; the consumer's image, equal to it. */
    static BufferedImage deliverBoth(Dib dib) {
        PixelGrabber grabber = newGrabber();
        assertTrue(DibHarness.deliver(grabber, dib.bytes()).result());
        BufferedImageConsumer consumer = new BufferedImageConsumer();
        Delivery delivery = DibHarness.deliver(consumer, dib.bytes());
        assertNull(delivery.thrown());
        assertTrue(delivery.result());
        BufferedImage image = consumer.image();
        assertEquals(grabber.getWidth(), image.getWidth());
        assertEquals(grabber.getHeight(), image.getHeight());
        int[] grabbed = (int[]) grabber.getPixels();
        for (int i = 0; i < grabbed.length; i++) {
            grabbed[i] &= 0xFFFFFF;
        }
        assertArrayEquals(grabbed, Pages.rgb(image));
        return image;
    }

    /** The gray palette of that many bits, black to white. */
    static IndexColorModel grays(int bits) {
        int count = 1 << bits;
        byte[] levels = new byte[count];
        for (int i = 0; i < count; i++) {
            levels[i] = (byte) (i * 255 / (count - 1));
        }
        return new IndexColorModel(bits, count, levels, levels, levels);
    }

    static int bufferBytes(BufferedImage image) {
        DataBuffer buffer = image.getRaster().getDataBuffer();
        return buffer.getSize() * DataBuffer.getDataTypeSize(buffer.getDataType()) / 8;
    }

    @Test
    void oneBitPagesArePackedEightPixelsToTheByte() {
        // 13 pixels: one whole byte and five bits of the next, in both palette orders.
        for (int[] palette : new int[][] {{0xFFFFFF, 0x000000}, {0x000000, 0xFFFFFF}}) {
            BufferedImage image = deliverBoth(Dib.header(13, 3, 1, Dib.BI_RGB, 2)
                    .colors(palette)
                    .row(0xA5, 0xF8)
                    .row(0x00, 0x08)
                    .row(0xFF, 0xF8));
            assertEquals(BufferedImage.TYPE_BYTE_BINARY, image.getType());
            assertEquals(2 * 3, bufferBytes(image));
        }
    }

    @Test
    void grayPalettesBecomeGrayLevels() {
        // A 4-bit palette of 16 levels, not the values themselves, and unused entries.
        int[] levels = new int[16];
        for (int i = 0; i < 16; i++) {
            levels[i] = i * 17 * 0x010101;
        }
        BufferedImage image = deliverBoth(Dib.header(4, 2, 4, Dib.BI_RGB, 16)
                .colors(levels).row(0x01, 0x2F).row(0xED, 0xCB));
        assertEquals(BufferedImage.TYPE_BYTE_GRAY, image.getType());
        assertEquals(17, image.getRaster().getSample(1, 1, 0)); // bottom-up: the first stored row is the last
        // An 8-bit identity palette of 100 levels: values beyond it are black, as the protocol says.
        int[] identity = new int[100];
        for (int i = 0; i < identity.length; i++) {
            identity[i] = i * 0x010101;
        }
        image = deliverBoth(Dib.header(3, -1, 8, Dib.BI_RGB, 100)
                .colors(identity).row(5, 99, 200));
        assertEquals(BufferedImage.TYPE_BYTE_GRAY, image.getType());
        assertEquals(0, image.getRaster().getSample(2, 0, 0));
    }

    @Test
    void colorPalettesStayIndexed() {
        BufferedImage image = deliverBoth(Dib.header(5, 2, 4, Dib.BI_RGB, 3)
                .colors(0xFF0000, 0x00FF00, 0x0000FF).row(0x01, 0x27, 0x00).row(0x22, 0x11, 0x00));
        assertEquals(BufferedImage.TYPE_BYTE_INDEXED, image.getType());
        assertEquals(5 * 2, bufferBytes(image));
    }

    @Test
    void smallBitFieldPagesAreIndexedByWhatTheirMasksGive() {
        // 8 bits: red in 5 to 7, green in 2 to 4, blue in 0 and 1; no palette at all.
        BufferedImage image = deliverBoth(Dib.header(4, 1, 8, Dib.BI_BITFIELDS, 0)
                .masks(0xE0, 0x1C, 0x03).row(0xE0, 0x1C, 0x03, 0x6D));
        assertEquals(BufferedImage.TYPE_BYTE_INDEXED, image.getType());
    }

    @Test
    void deepPagesAreIntRgb() {
        // 16-bit 5-5-5, bottom-up: the model turns each value into 8-bit components.
        BufferedImage image = deliverBoth(Dib.header(2, 2, 16, Dib.BI_RGB, 0)
                .row(0x1F, 0x7C, 0xE0, 0x03).row(0xFF, 0x7F, 0x00, 0x00));
        assertEquals(BufferedImage.TYPE_INT_RGB, image.getType());
        // 32-bit bit fields with red in the top byte, which the row copy cannot keep as it is.
        image = deliverBoth(Dib.header(2, 1, 32, Dib.BI_BITFIELDS, 0)
                .masks(0xFF000000, 0x00FF0000, 0x0000FF00)
                .row(0x00, 0x33, 0x22, 0x11, 0x00, 0xFF, 0x00, 0x80));
        assertEquals(BufferedImage.TYPE_INT_RGB, image.getType());
        image = deliverBoth(Dib.header(3, -2, 24, Dib.BI_RGB, 0)
                .row(1, 2, 3, 4, 5, 6, 7, 8, 9).row(9, 8, 7, 6, 5, 4, 3, 2, 1));
        assertEquals(0x030201, image.getRGB(0, 0) & 0xFFFFFF);
    }

    @Test
    void anA4PageOfOneBitTakesAThirtySecondOfAnIntRaster() {
        int width = 4960;
        int height = 7016;
        int stride = (width + 31) / 32 * 4;
        byte[] rows = new byte[stride * height];
        for (int i = 0; i < rows.length; i += 7) {
            rows[i] = (byte) 0x5A;
        }
        Dib dib = Dib.header(width, height, 1, Dib.BI_RGB, 2).colors(0xFFFFFF, 0);
        byte[] header = dib.bytes();
        byte[] whole = java.util.Arrays.copyOf(header, header.length + rows.length);
        System.arraycopy(rows, 0, whole, header.length, rows.length);
        BufferedImageConsumer consumer = new BufferedImageConsumer();
        assertTrue(DibHarness.deliver(consumer, whole).result());
        BufferedImage page = consumer.image();
        assertEquals(BufferedImage.TYPE_BYTE_BINARY, page.getType());
        assertEquals(width / 8 * height, bufferBytes(page));
    }

    @Test
    void aPageTooLargeForTheVmFailsNamingItsSize() {
        // Pixels that outnumber one Java array, for an int, a byte and a packed raster.
        ColorModel[] models = {ColorModel.getRGBdefault(), grays(8), grays(1)};
        int[][] sizes = {{60000, 60000}, {60000, 60000}, {2000000, 20000}};
        for (int i = 0; i < models.length; i++) {
            BufferedImageConsumer consumer = new BufferedImageConsumer();
            consumer.setDimensions(sizes[i][0], sizes[i][1]);
            ColorModel model = models[i];
            OutOfMemoryError error =
                    assertThrows(OutOfMemoryError.class, () -> consumer.setColorModel(model));
            assertTrue(error.getMessage().startsWith("a page of " + sizes[i][0] + " x "
                    + sizes[i][1] + " pixels does not fit in this Java VM's memory ("),
                    error.getMessage());
        }
    }

    @Test
    void rowsAreReportedAsTheyArrive() {
        List<int[]> reports = new ArrayList<>();
        BufferedImageConsumer consumer =
                new BufferedImageConsumer((rows, height) -> reports.add(new int[] {rows, height}));
        Dib dib = Dib.header(1, 3, 8, Dib.BI_RGB, 2).colors(0, 0xFFFFFF).row(0).row(1).row(0);
        assertTrue(DibHarness.deliver(consumer, dib.bytes()).result());
        assertEquals(3, reports.size());
        for (int i = 0; i < 3; i++) {
            assertArrayEquals(new int[] {i + 1, 3}, reports.get(i));
        }
    }

    @Test
    void noImageUntilCompleteNorAfterAnErrorNorWithoutPixels() {
        BufferedImageConsumer consumer = new BufferedImageConsumer();
        consumer.setDimensions(2, 1);
        consumer.setColorModel(ColorModel.getRGBdefault());
        consumer.setPixels(0, 0, 2, 1, ColorModel.getRGBdefault(), new int[] {1, 2}, 0, 2);
        assertNull(consumer.image());
        consumer.imageComplete(ImageConsumer.IMAGEERROR);
        assertNull(consumer.image());
        consumer.imageComplete(ImageConsumer.STATICIMAGEDONE);
        assertEquals(2, consumer.image().getRGB(1, 0) & 0xFFFFFF);
        // Height 0, as a DIB may state: no image, and no failure.
        Dib empty = Dib.header(4, 0, 24, Dib.BI_RGB, 0);
        BufferedImageConsumer none = new BufferedImageConsumer();
        assertTrue(DibHarness.deliver(none, empty.bytes()).result());
        assertNull(none.image());
    }

    @Test
    void pixelsOfAnotherModelTurnThePageRgbAndKeepWhatItHeld() {
        byte[] grays = new byte[256];
        for (int i = 0; i < 256; i++) {
            grays[i] = (byte) i;
        }
        IndexColorModel gray = new IndexColorModel(8, 256, grays, grays, grays);
        BufferedImageConsumer consumer = new BufferedImageConsumer();
        consumer.setDimensions(2, 2);
        consumer.setColorModel(gray);
        consumer.setPixels(0, 0, 2, 1, gray, new byte[] {0x40, (byte) 0xC0}, 0, 2);
        DirectColorModel rgb = new DirectColorModel(24, 0xFF0000, 0xFF00, 0xFF);
        consumer.setPixels(0, 1, 2, 1, rgb, new int[] {0x123456, 0xABCDEF}, 0, 2);
        consumer.imageComplete(ImageConsumer.STATICIMAGEDONE);
        BufferedImage image = consumer.image();
        assertEquals(BufferedImage.TYPE_INT_RGB, image.getType());
        assertArrayEquals(new int[] {0x404040, 0xC0C0C0, 0x123456, 0xABCDEF}, Pages.rgb(image));
    }

    @Test
    void rectanglesReachingOutsideThePageAreCut() {
        BufferedImageConsumer consumer = new BufferedImageConsumer();
        consumer.setDimensions(3, 2);
        ColorModel model = ColorModel.getRGBdefault();
        // Two rows of four, starting one column left of the page: the first column is not drawn.
        int[] pixels = {1, 2, 3, 4, 5, 6, 7, 8};
        consumer.setPixels(-1, 0, 4, 2, model, pixels, 0, 4);
        consumer.setPixels(2, 1, 5, 5, model, new int[] {9}, 0, 1); // only (2, 1) is inside
        consumer.setPixels(3, 0, 1, 1, model, new int[0], 0, 1); // wholly outside: nothing read
        consumer.imageComplete(ImageConsumer.STATICIMAGEDONE);
        assertArrayEquals(new int[] {2, 3, 4, 6, 7, 9}, Pages.rgb(consumer.image()));
    }
}
