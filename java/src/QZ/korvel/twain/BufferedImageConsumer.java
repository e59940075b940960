package QZ.korvel.twain;

import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.ImageConsumer;
import java.util.Hashtable;

/**
 * An {@link ImageConsumer} that builds a {@link BufferedImage} at the page's own depth, writing each
 * row straight into the image's raster.
 *
 * <p>The image type follows the color model that the producer announces:
 *
 * <ul>
 *   <li>1-bit pages: {@link BufferedImage#TYPE_BYTE_BINARY}, with the page's two colors;
 *   <li>pages of 8 bits or fewer whose colors are all gray: {@link BufferedImage#TYPE_BYTE_GRAY},
 *       each sample the gray level (0 black, 255 white);
 *   <li>other pages of 8 bits or fewer: {@link BufferedImage#TYPE_BYTE_INDEXED}, with the page's
 *       colors;
 *   <li>16-, 24- and 32-bit pages, and every other model: {@link BufferedImage#TYPE_INT_RGB}.
 * </ul>
 *
 * <p>Every pixel has the color that the consumer protocol gives it: the color model's RGB for the
 * pixel value. Alpha is not kept; scanned pages are opaque. One caution about gray pages: {@link
 * BufferedImage#getRGB} of a {@code TYPE_BYTE_GRAY} image converts the level from a linear gray
 * space and so answers a lighter color than the level; drawing the image, writing it with {@code
 * javax.imageio} and reading its raster all give the level itself.
 *
 * <p>A consumer takes one image. It is not safe for use by several threads at once; the producer
 * calls it on one thread.
 */
public final class BufferedImageConsumer implements ImageConsumer {
    /** Told how far an image has come, for a progress bar. */
    public interface RowListener {
        /**
         * Rows have arrived. Called on the producer's thread after each batch of rows, so it should
         * return quickly.
         *
         * @param rows how many rows from the top have arrived so far
         * @param height how many rows the image has
         */
        void rowsDelivered(int rows, int height);
    }

    private final RowListener rowListener;
    private int width;
    private int height;
    private PageRaster raster;
    private int rowsDelivered;
    private boolean complete;

    /** A consumer without a row listener. */
    public BufferedImageConsumer() {
        this(null);
    }

    /**
     * A consumer that tells {@code rowListener} of the rows as they arrive.
     *
     * @param rowListener the listener, or null
     */
    public BufferedImageConsumer(RowListener rowListener) {
        this.rowListener = rowListener;
    }

    /**
     * The image, once the producer has said that it is complete.
     *
     * @return the image; null before that, after a producer's error, or when the image has no
     *     pixels (a width or height of 0 or less)
     */
    public BufferedImage image() {
        return complete && raster != null ? raster.image() : null;
    }

    @Override
    public void setDimensions(int width, int height) {
        this.width = width;
        this.height = height;
        raster = null;
        rowsDelivered = 0;
        complete = false;
    }

    @Override
    public void setProperties(Hashtable<?, ?> props) {}

    @Override
    public void setColorModel(ColorModel model) {
        // An image without pixels gets no raster; its rows, if any, are ignored.
        raster = width > 0 && height > 0 ? PageRaster.create(model, width, height) : null;
    }

    @Override
    public void setHints(int hints) {}

    @Override
    public void setPixels(int x, int y, int w, int h, ColorModel model, byte[] pixels, int off,
            int scansize) {
        PageRaster target = byteRaster(model);
        Clip clip = Clip.of(x, y, w, h, off, scansize, width, height);
        if (target == null || clip == null) {
            return;
        }
        target.write(clip.x, clip.y, clip.w, clip.h, model, pixels, clip.off, scansize);
        delivered(clip);
    }

    @Override
    public void setPixels(int x, int y, int w, int h, ColorModel model, int[] pixels, int off,
            int scansize) {
        RgbRaster target = rgbRaster();
        Clip clip = Clip.of(x, y, w, h, off, scansize, width, height);
        if (target == null || clip == null) {
            return;
        }
        target.write(clip.x, clip.y, clip.w, clip.h, model, pixels, clip.off, scansize);
        delivered(clip);
    }

    @Override
    public void imageComplete(int status) {
        complete = status == STATICIMAGEDONE || status == SINGLEFRAMEDONE;
    }

    /**
     * The raster that takes byte pixels of this model. A producer may send pixels of another model
     * than the one it announced; the image then becomes RGB with what it already holds.
     */
    private PageRaster byteRaster(ColorModel model) {
        if (width <= 0 || height <= 0) {
            return null;
        }
        if (raster == null) {
            raster = PageRaster.create(model, width, height);
        } else if (!raster.takes(model)) {
            raster = raster.toRgb();
        }
        return raster;
    }

    /** Int pixels always go to an RGB raster, whatever the model. */
    private RgbRaster rgbRaster() {
        if (width <= 0 || height <= 0) {
            return null;
        }
        RgbRaster rgb = raster == null ? new RgbRaster(width, height) : raster.toRgb();
        raster = rgb;
        return rgb;
    }

    private void delivered(Clip clip) {
        rowsDelivered = Math.max(rowsDelivered, clip.y + clip.h);
        if (rowListener != null) {
            rowListener.rowsDelivered(rowsDelivered, height);
        }
    }

    /** The part of a rectangle of pixels that lies within the image. */
    private static final class Clip {
        final int x;
        final int y;
        final int w;
        final int h;
        final int off;

        private Clip(int x, int y, int w, int h, int off) {
            this.x = x;
            this.y = y;
            this.w = w;
            this.h = h;
            this.off = off;
        }

        static Clip of(int x, int y, int w, int h, int off, int scansize, int width, int height) {
            long left = Math.max(x, 0);
            long top = Math.max(y, 0);
            long right = Math.min((long) x + w, width);
            long bottom = Math.min((long) y + h, height);
            if (left >= right || top >= bottom) {
                return null;
            }
            long start = off + (top - y) * scansize + (left - x);
            return new Clip((int) left, (int) top, (int) (right - left), (int) (bottom - top),
                    (int) start);
        }
    }
}
