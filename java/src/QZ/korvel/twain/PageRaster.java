package QZ.korvel.twain;

import java.awt.Graphics2D;
import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.DirectColorModel;
import java.awt.image.IndexColorModel;

/**
 * The image of one page and the way its rows are written: the raster of the image type that fits
 * the page's color model.
 */
abstract class PageRaster {
    final int width;
    final int height;

    PageRaster(int width, int height) {
        this.width = width;
        this.height = height;
    }

    /**
     * The raster for pixels of {@code model}. Models of 8 bits or fewer are read through the 256
     * colors that their pixel values stand for, which is what the consumer protocol makes of them.
     *
     * @throws OutOfMemoryError naming the page's size, when its image does not fit in this VM (in
     *     a 32-bit VM, a large colour page at a high resolution)
     */
    static PageRaster create(ColorModel model, int width, int height) {
        try {
            return allocate(model, width, height);
        } catch (OutOfMemoryError | NegativeArraySizeException | IllegalArgumentException e) {
            // The heap has no room for the image, or its pixels outnumber what one Java array
            // can index.
            OutOfMemoryError tooLarge = new OutOfMemoryError("a page of " + width + " x " + height
                    + " pixels does not fit in this Java VM's memory (" + e + ")");
            tooLarge.initCause(e);
            throw tooLarge;
        }
    }

    private static PageRaster allocate(ColorModel model, int width, int height) {
        if (model == null) {
            model = ColorModel.getRGBdefault();
        }
        boolean small = model.getPixelSize() <= 8
                && (model instanceof IndexColorModel || model instanceof DirectColorModel);
        if (!small) {
            return new RgbRaster(width, height);
        }
        int[] colors = ByteRaster.colorsOf(model);
        if (model.getPixelSize() == 1) {
            return new BinaryRaster(model, colors, width, height);
        }
        if (GrayRaster.allGray(colors)) {
            return new GrayRaster(model, colors, width, height);
        }
        return new IndexedRaster(model, colors, width, height);
    }

    abstract BufferedImage image();

    /** Whether byte pixels of this model can be written as they are. */
    abstract boolean takes(ColorModel model);

    abstract void write(int x, int y, int w, int h, ColorModel model, byte[] pixels, int off,
            int scansize);

    /** An RGB raster holding the same colors as this one. */
    RgbRaster toRgb() {
        RgbRaster rgb = new RgbRaster(width, height);
        Graphics2D graphics = rgb.image().createGraphics();
        try {
            graphics.drawImage(image(), 0, 0, null);
        } finally {
            graphics.dispose();
        }
        return rgb;
    }
}
