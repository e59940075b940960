package scanlink.scan;

import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.ImageConsumer;
import java.util.Hashtable;

/** An ImageConsumer that collects one delivered image into an RGB BufferedImage. */
public final class ImageBuilder implements ImageConsumer {
    private BufferedImage image;
    private int status = -1;

    @Override
    public void setDimensions(int width, int height) {
        image = new BufferedImage(Math.max(width, 1), Math.max(height, 1),
                BufferedImage.TYPE_INT_RGB);
    }

    @Override
    public void setProperties(Hashtable<?, ?> props) {}

    @Override
    public void setColorModel(ColorModel model) {}

    @Override
    public void setHints(int hints) {}

    @Override
    public void setPixels(int x, int y, int w, int h, ColorModel model, byte[] pixels, int off,
            int scansize) {
        for (int row = 0; row < h; row++) {
            for (int column = 0; column < w; column++) {
                int pixel = pixels[off + row * scansize + column] & 0xFF;
                image.setRGB(x + column, y + row, model.getRGB(pixel));
            }
        }
    }

    @Override
    public void setPixels(int x, int y, int w, int h, ColorModel model, int[] pixels, int off,
            int scansize) {
        for (int row = 0; row < h; row++) {
            for (int column = 0; column < w; column++) {
                image.setRGB(x + column, y + row, model.getRGB(pixels[off + row * scansize + column]));
            }
        }
    }

    @Override
    public void imageComplete(int status) {
        this.status = status;
    }

    /** The image, once the producer said it is complete; null before. */
    public BufferedImage image() {
        return status == STATICIMAGEDONE ? image : null;
    }
}
