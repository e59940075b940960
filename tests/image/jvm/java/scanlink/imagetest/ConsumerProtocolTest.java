package scanlink.imagetest;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertInstanceOf;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertNotSame;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.imagetest.Dib.BI_BITFIELDS;
import static scanlink.imagetest.Dib.BI_RGB;
import static scanlink.imagetest.Dib.BI_RLE8;

import java.awt.image.ColorModel;
import java.awt.image.DirectColorModel;
import java.awt.image.IndexColorModel;
import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.Test;
import scanlink.imagetest.DibHarness.Delivery;

/** The calls a consumer receives for one DIB, and how each kind of failure reaches Java. */
class ConsumerProtocolTest {
    private static void assertDelivered(Object consumer, byte[] dib) {
        Delivery delivery = DibHarness.deliver(consumer, dib);
        assertNull(delivery.thrown());
        assertTrue(delivery.result());
    }

    private static Throwable assertFails(Object consumer, byte[] dib) {
        Delivery delivery = DibHarness.deliver(consumer, dib);
        assertFalse(delivery.result());
        assertNotNull(delivery.thrown());
        return delivery.thrown();
    }

    @Test
    void platformConstantsGiveHintsThirtyAndStatusThree() {
        RecordingConsumer consumer = new RecordingConsumer();
        assertDelivered(consumer, Dib.header(2, 1, 24, BI_RGB, 0).row(1, 2, 3, 4, 5, 6).bytes());
        assertEquals(List.of("setDimensions 2 1", "setHints 30", "setColorModel",
                         "setPixels ints x=0 y=0 w=2 h=1 off=0 scan=2", "imageComplete 3"),
            consumer.calls);
        assertSame(consumer.model, consumer.pixelModel);
    }

    @Test
    void indexedDibsGetTheirTableAsModelAndByteRows() {
        int[] table = new int[256];
        for (int i = 0; i < table.length; i++) {
            table[i] = i << 16 | (255 - i) << 8 | i / 2;
        }
        RecordingConsumer eight = new RecordingConsumer();
        assertDelivered(
            eight, Dib.header(3, 1, 8, BI_RGB, 0).colors(table).row(0, 0x80, 0xFF).bytes());
        IndexColorModel model = assertInstanceOf(IndexColorModel.class, eight.model);
        assertEquals(8, model.getPixelSize());
        assertEquals(256, model.getMapSize());
        for (int i = 0; i < table.length; i++) {
            assertEquals(table[i], model.getRGB(i) & 0xFFFFFF, "entry " + i);
        }
        assertArrayEquals(new byte[] {0, (byte) 0x80, (byte) 0xFF}, eight.byteRow(0));

        RecordingConsumer one = new RecordingConsumer();
        assertDelivered(one,
            Dib.header(10, 1, 1, BI_RGB, 2).colors(0x123456, 0xFEDCBA).row(0xA0, 0x40).bytes());
        IndexColorModel oneBit = assertInstanceOf(IndexColorModel.class, one.model);
        assertEquals(1, oneBit.getPixelSize());
        assertEquals(2, oneBit.getMapSize());
        assertEquals(0xFEDCBA, oneBit.getRGB(1) & 0xFFFFFF);
        assertArrayEquals(new byte[] {1, 0, 1, 0, 0, 0, 0, 0, 0, 1}, one.byteRow(0));
    }

    private record DirectCase(
        String name, byte[] dib, int bits, int red, int green, int blue, int pixel, int rgb) {}

    @Test
    void otherDibsGetADirectModelOfTheirMasks() {
        List<DirectCase> cases = List.of(
            new DirectCase("24 bits", Dib.header(1, 1, 24, BI_RGB, 0).row(0x10, 0x20, 0x30).bytes(),
                24, 0xFF0000, 0xFF00, 0xFF, 0x302010, 0x302010),
            new DirectCase("32 bits, top byte cleared",
                Dib.header(1, 1, 32, BI_RGB, 0).row(0x10, 0x20, 0x30, 0x40).bytes(), 32, 0xFF0000,
                0xFF00, 0xFF, 0x302010, 0x302010),
            new DirectCase("16 bits, 5-5-5",
                Dib.header(1, 1, 16, BI_RGB, 0).row(0x1F, 0x7C).bytes(), 16, 0x7C00, 0x3E0, 0x1F,
                0x7C1F, 0xFF00FF),
            new DirectCase("16 bits, stored 5-6-5",
                Dib.header(1, 1, 16, BI_BITFIELDS, 0)
                    .masks(0xF800, 0x7E0, 0x1F)
                    .row(0x1F, 0xF8)
                    .bytes(),
                16, 0xF800, 0x7E0, 0x1F, 0xF81F, 0xFF00FF),
            // Red at its brightest in a 10-10-10 layout: the top byte carries red's high bits.
            new DirectCase("32 bits, stored 10-10-10, kept whole",
                Dib.header(1, 1, 32, BI_BITFIELDS, 0)
                    .masks(0x3FF00000, 0xFFC00, 0x3FF)
                    .row(0x00, 0x00, 0xF0, 0x3F)
                    .bytes(),
                32, 0x3FF00000, 0xFFC00, 0x3FF, 0x3FF00000, 0xFF0000));
        for (DirectCase c : cases) {
            RecordingConsumer consumer = new RecordingConsumer();
            assertDelivered(consumer, c.dib());
            DirectColorModel model =
                assertInstanceOf(DirectColorModel.class, consumer.model, c.name());
            assertEquals(c.bits(), model.getPixelSize(), c.name());
            assertEquals(c.red(), model.getRedMask(), c.name());
            assertEquals(c.green(), model.getGreenMask(), c.name());
            assertEquals(c.blue(), model.getBlueMask(), c.name());
            assertArrayEquals(new int[] {c.pixel()}, consumer.intRow(0), c.name());
            assertEquals(c.rgb(), model.getRGB(c.pixel()) & 0xFFFFFF, c.name());
        }
    }

    @Test
    void bitFieldsOfEightBitsGiveADirectModelWithByteRows() {
        RecordingConsumer consumer = new RecordingConsumer();
        assertDelivered(consumer,
            Dib.header(2, 1, 8, BI_BITFIELDS, 0).masks(0xE0, 0x1C, 0x03).row(0xE3, 0x1C).bytes());
        DirectColorModel model = assertInstanceOf(DirectColorModel.class, consumer.model);
        assertEquals(8, model.getPixelSize());
        assertEquals(0xE0, model.getRedMask());
        assertEquals(0x1C, model.getGreenMask());
        assertEquals(0x03, model.getBlueMask());
        assertEquals("setPixels bytes x=0 y=0 w=2 h=1 off=0 scan=2", consumer.calls.get(3));
        assertArrayEquals(new byte[] {(byte) 0xE3, 0x1C}, consumer.byteRow(0));
    }

    @Test
    void rowsGoTopFirstWhicheverWayTheyAreStored() {
        RecordingConsumer bottomUp = new RecordingConsumer();
        assertDelivered(
            bottomUp, Dib.header(1, 3, 8, BI_RGB, 1).colors(0).row(1).row(2).row(3).bytes());
        RecordingConsumer topDown = new RecordingConsumer();
        assertDelivered(
            topDown, Dib.header(1, -3, 8, BI_RGB, 1).colors(0).row(1).row(2).row(3).bytes());

        assertEquals("setDimensions 1 3", bottomUp.calls.get(0));
        assertEquals("setDimensions 1 3", topDown.calls.get(0));
        for (int y = 0; y < 3; y++) {
            assertEquals(
                "setPixels bytes x=0 y=" + y + " w=1 h=1 off=0 scan=1", bottomUp.calls.get(3 + y));
            assertEquals(3 - y, bottomUp.byteRow(y)[0]);
            assertEquals(1 + y, topDown.byteRow(y)[0]);
        }
        assertNotSame(bottomUp.rowArrays.get(0), bottomUp.rowArrays.get(1));
        assertNotSame(bottomUp.rowArrays.get(1), bottomUp.rowArrays.get(2));
    }

    @Test
    void picturesWithoutPixelsStillComplete() {
        RecordingConsumer noRows = new RecordingConsumer();
        assertDelivered(noRows, Dib.header(4, 0, 24, BI_RGB, 0).bytes());
        assertEquals(
            List.of("setDimensions 4 0", "setHints 30", "setColorModel", "imageComplete 3"),
            noRows.calls);

        // Rows of no pixels need no bytes; each is still announced, empty.
        RecordingConsumer noColumns = new RecordingConsumer();
        assertDelivered(noColumns, Dib.header(0, -2, 24, BI_RGB, 0).bytes());
        assertEquals(List.of("setDimensions 0 2", "setHints 30", "setColorModel",
                         "setPixels ints x=0 y=0 w=0 h=1 off=0 scan=0",
                         "setPixels ints x=0 y=1 w=0 h=1 off=0 scan=0", "imageComplete 3"),
            noColumns.calls);
    }

    @Test
    void aTallPageIsDeliveredRowByRow() {
        // The JNI checker fails the run if per-row references pile up in the local frame.
        int height = 10_000;
        Dib dib = Dib.header(1, height, 24, BI_RGB, 0);
        for (int y = 0; y < height; y++) {
            dib.row(y, y >> 8, 0);
        }
        RecordingConsumer consumer = new RecordingConsumer();
        assertDelivered(consumer, dib.bytes());
        assertEquals(3 + height + 1, consumer.calls.size());
        assertEquals(height - 1, consumer.intRow(0)[0]);
        assertEquals(0, consumer.intRow(height - 1)[0]);
    }

    @Test
    void anExceptionFromSetPixelsEndsTheDeliveryAndReachesTheCaller() {
        RuntimeException failure = new IllegalStateException("row 5");
        RecordingConsumer consumer = new RecordingConsumer() {
            @Override
            public void setPixels(
                int x, int y, int w, int h, ColorModel model, int[] pixels, int off, int scansize) {
                super.setPixels(x, y, w, h, model, pixels, off, scansize);
                if (y == 5) {
                    throw failure;
                }
            }
        };
        Dib dib = Dib.header(1, 8, 32, BI_RGB, 0);
        for (int y = 0; y < 8; y++) {
            dib.row(y, 0, 0, 0);
        }
        assertSame(failure, assertFails(consumer, dib.bytes()));
        assertEquals(3 + 6, consumer.calls.size());
        assertEquals("setPixels ints x=0 y=5 w=1 h=1 off=0 scan=1", consumer.calls.get(8));
    }

    /** Has every consumer method but setHints, and is no ImageConsumer. */
    public static final class WithoutSetHints {
        final List<String> calls = new ArrayList<>();

        public void setDimensions(int width, int height) {
            calls.add("setDimensions " + width + " " + height);
        }

        public void setColorModel(ColorModel model) {
            calls.add("setColorModel");
        }

        public void imageComplete(int status) {
            calls.add("imageComplete " + status);
        }
    }

    @Test
    void aConsumerWithoutSetHintsStopsAfterSetDimensions() {
        WithoutSetHints consumer = new WithoutSetHints();
        Throwable thrown =
            assertFails(consumer, Dib.header(1, 1, 24, BI_RGB, 0).row(0, 0, 0).bytes());
        assertInstanceOf(NoSuchMethodError.class, thrown);
        assertEquals(List.of("setDimensions 1 1"), consumer.calls);
    }

    @Test
    void anExceptionFromTheColorModelComesBeforeAnyConsumerCall() {
        // DirectColorModel refuses a mask whose bits are not contiguous.
        RecordingConsumer consumer = new RecordingConsumer();
        Throwable thrown = assertFails(consumer,
            Dib.header(1, 1, 16, BI_BITFIELDS, 0).masks(0x5, 0x3E0, 0x1F).row(0, 0).bytes());
        assertInstanceOf(IllegalArgumentException.class, thrown);
        assertEquals(List.of(), consumer.calls);
    }

    @Test
    void aNegativeWidthFailsAtTheFirstRowAfterTheColorModel() {
        RecordingConsumer consumer = new RecordingConsumer();
        Throwable thrown =
            assertFails(consumer, Dib.header(-127, 64, 1, BI_RGB, 2).colors(0, 0xFFFFFF).bytes());
        assertInstanceOf(NegativeArraySizeException.class, thrown);
        assertEquals(
            List.of("setDimensions -127 64", "setHints 30", "setColorModel"), consumer.calls);
    }

    private record Refusal(String name, boolean withConsumer, byte[] dib, String message) {}

    @Test
    void refusalsAreExceptionsWithTheirFixedMessages() {
        byte[] good = Dib.header(1, 1, 24, BI_RGB, 0).row(0, 0, 0).bytes();
        // The header and two of the one pixel's three bytes; the row's padding is never needed.
        byte[] cut = java.util.Arrays.copyOf(good, 40 + 2);
        List<Refusal> refusals =
            List.of(new Refusal("no consumer, no image", false, null, "Invalid consumer!"),
                new Refusal("no consumer", false, good, "Invalid consumer!"),
                new Refusal("no image", true, null, "Invalid image!"),
                new Refusal("rows cut short", true, cut, "Invalid image!"),
                new Refusal("color table cut short", true,
                    Dib.header(1, 1, 8, BI_RGB, 0).colors(0, 0).row(0).bytes(), "Invalid image!"),
                new Refusal("empty block", true, new byte[0], "Invalid image!"),
                new Refusal("V5 header", true,
                    Dib.header(124, 1, 1, 24, BI_RGB, 0).row(0, 0, 0).bytes(),
                    "Unsupported image type!"),
                new Refusal("2 bits", true,
                    Dib.header(1, 1, 2, BI_RGB, 4).colors(0, 0, 0, 0).row(0).bytes(),
                    "Unsupported image type!"),
                new Refusal("run-length 8 bits", true,
                    Dib.header(1, 1, 8, BI_RLE8, 1).colors(0).row(0).bytes(),
                    "Unsuported DIB compression type!"));
        for (Refusal r : refusals) {
            RecordingConsumer consumer = new RecordingConsumer();
            Throwable thrown = assertFails(r.withConsumer() ? consumer : null, r.dib());
            assertSame(Exception.class, thrown.getClass(), r.name());
            assertEquals(r.message(), thrown.getMessage(), r.name());
            assertEquals(List.of(), consumer.calls, r.name());
        }
    }
}
