package QZ.korvel.twain;

import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.DataBufferByte;
import java.awt.image.DataBufferInt;
import java.awt.image.DirectColorModel;
import java.awt.image.ImageConsumer;
import java.awt.image.IndexColorModel;

/**
 * Where the library puts a page of {@link ScanSession}: it makes the page's image at its own depth
 * (as {@link BufferedImageConsumer} does) and hands the library the raster's own array, which the
 * library writes row by row; or it keeps the bytes of a page that came encoded. A page whose
 * length the source did not know, or told wrongly, gets a raster that grows as its rows come and
 * is cut to the rows that came.
 *
 * <p>The library calls the methods below on the session's thread, in the order begin, then
 * pixels, stride, rows and levels, grow and rowsWritten as rows come, and end; or encoded alone.
 */
final class PageBuilder {
    /** Rows a raster starts with when the source does not know its page's length. */
    private static final int UNKNOWN_LENGTH_ROWS = 1024;

    private final BufferedImageConsumer.RowListener rowListener;
    private ColorModel model;
    private PageRaster raster;
    private int width;
    private int expectedHeight;
    private BufferedImage image;
    private EncodedImage encoded;
    private BufferedImageConsumer consumer;
    private String refusal;
    private int rowsTold;

    PageBuilder(BufferedImageConsumer.RowListener rowListener) {
        this.rowListener = rowListener;
    }

    /** The page's image: the raster's, the consumer's, or null when none came. */
    BufferedImage image() {
        if (consumer != null) {
            return consumer.image();
        }
        return image;
    }

    /** The page as it came encoded, or null. */
    EncodedImage encoded() {
        return encoded;
    }

    /** Why the library refused a memory transfer before its first buffer, or null. */
    String refusal() {
        return refusal;
    }

    // Called by the library.

    /**
     * Makes the raster for rows of {@code bitCount} bits: indexes into the colors given, or 24- or
     * 32-bit blue, green and red when there are none.
     *
     * @return the kind of raster: 0 RGB ints, 1 gray levels, 2 palette indexes, 3 packed bits
     */
    int begin(int width, int heightHint, int bitCount, int colorCount, byte[] red, byte[] green,
            byte[] blue) {
        this.width = width;
        expectedHeight = heightHint;
        model = colorCount > 0 ? new IndexColorModel(bitCount, colorCount, red, green, blue)
                               : new DirectColorModel(24, 0xFF0000, 0xFF00, 0xFF);
        raster = PageRaster.create(model, width, heightHint > 0 ? heightHint : UNKNOWN_LENGTH_ROWS);
        return kindOf(raster);
    }

    /** The raster's own array: an int[] for RGB, else a byte[]. */
    Object pixels() {
        return pixelsOf(raster);
    }

    /** Elements from one row of the array to the next. */
    int stride() {
        return strideOf(raster);
    }

    int rows() {
        return raster.height;
    }

    /** A gray raster's level for each pixel value; null when every value is its own level. */
    byte[] levels() {
        return raster instanceof GrayRaster ? ((GrayRaster) raster).levelsUnlessValues() : null;
    }

    /** Makes room for at least {@code rows} rows, keeping those written. */
    void grow(int rows) {
        int height = (int) Math.min(Integer.MAX_VALUE, Math.max(rows, 2L * raster.height));
        raster = copy(raster, height);
    }

    /** The rows from the top that are written; the listener hears of each, as it would of a row. */
    void rowsWritten(int rows) {
        if (rowListener != null) {
            for (int row = rowsTold + 1; row <= rows; row++) {
                rowListener.rowsDelivered(row, Math.max(row, expectedHeight));
            }
        }
        rowsTold = Math.max(rowsTold, rows);
    }

    /** The page has {@code height} rows: a raster with more is cut to them. */
    void end(int height) {
        if (height != raster.height) {
            raster = copy(raster, height);
        }
        image = height > 0 ? raster.image() : null;
    }

    void encoded(int format, byte[] bytes, int width, int height, int bitsPerPixel) {
        encoded = new EncodedImage(EncodedImage.Format.fromCode(format), bytes, width, height);
    }

    /** For a DIB the library does not write straight into a raster: the ImageConsumer way. */
    ImageConsumer consumer() {
        consumer = new BufferedImageConsumer(rowListener);
        return consumer;
    }

    void refused(String why) {
        refusal = why;
    }

    private static int kindOf(PageRaster raster) {
        if (raster instanceof BinaryRaster) {
            return 3;
        }
        if (raster instanceof IndexedRaster) {
            return 2;
        }
        return raster instanceof GrayRaster ? 1 : 0;
    }

    /** A raster of the same kind and colors with {@code height} rows, the first ones copied. */
    private PageRaster copy(PageRaster from, int height) {
        PageRaster to = PageRaster.create(model, width, height);
        Object source = pixelsOf(from);
        Object target = pixelsOf(to);
        int rows = Math.min(from.height, height);
        int elements = rows * strideOf(from);
        System.arraycopy(source, 0, target, 0, elements);
        return to;
    }

    private static Object pixelsOf(PageRaster raster) {
        BufferedImage held = raster.image();
        return held.getType() == BufferedImage.TYPE_INT_RGB
                ? ((DataBufferInt) held.getRaster().getDataBuffer()).getData()
                : ((DataBufferByte) held.getRaster().getDataBuffer()).getData();
    }

    private static int strideOf(PageRaster raster) {
        return raster instanceof ByteRaster ? ((ByteRaster) raster).stride : raster.width;
    }
}
