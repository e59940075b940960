package QZ.korvel.twain;

import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.DataBufferInt;
import java.awt.image.DirectColorModel;
import java.awt.image.SinglePixelPackedSampleModel;

/** An RGB page: one int per pixel, red in bits 16 to 23, green in 8 to 15, blue in 0 to 7. */
final class RgbRaster extends PageRaster {
    private final BufferedImage image;
    private final int[] data;
    private final int stride;
    private ColorModel byteModel;
    private int[] byteColors;

    RgbRaster(int width, int height) {
        super(width, height);
        image = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        data = ((DataBufferInt) image.getRaster().getDataBuffer()).getData();
        stride = ((SinglePixelPackedSampleModel) image.getSampleModel()).getScanlineStride();
    }

    @Override
    BufferedImage image() {
        return image;
    }

    @Override
    boolean takes(ColorModel model) {
        return true;
    }

    @Override
    RgbRaster toRgb() {
        return this;
    }

    @Override
    void write(int x, int y, int w, int h, ColorModel model, byte[] pixels, int off,
            int scansize) {
        if (model != byteModel) {
            byteColors = ByteRaster.colorsOf(model);
            byteModel = model;
        }
        for (int row = 0; row < h; row++) {
            int source = off + row * scansize;
            int target = (y + row) * stride + x;
            for (int column = 0; column < w; column++) {
                data[target + column] = byteColors[pixels[source + column] & 0xFF];
            }
        }
    }

    void write(int x, int y, int w, int h, ColorModel model, int[] pixels, int off,
            int scansize) {
        boolean asStored = isPackedRgb(model);
        for (int row = 0; row < h; row++) {
            int source = off + row * scansize;
            int target = (y + row) * stride + x;
            if (asStored) {
                System.arraycopy(pixels, source, data, target, w);
            } else {
                for (int column = 0; column < w; column++) {
                    data[target + column] = model.getRGB(pixels[source + column]);
                }
            }
        }
    }

    /** Whether the model's pixel values are already red, green and blue where this raster has them. */
    private static boolean isPackedRgb(ColorModel model) {
        if (!(model instanceof DirectColorModel)) {
            return false;
        }
        DirectColorModel direct = (DirectColorModel) model;
        return direct.getRedMask() == 0xFF0000 && direct.getGreenMask() == 0xFF00
                && direct.getBlueMask() == 0xFF && !direct.isAlphaPremultiplied()
                && direct.getColorSpace().isCS_sRGB();
    }
}
