package QZ.korvel.twain;

import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;

/** A page whose colors are all gray: one byte per pixel, its gray level. */
final class GrayRaster extends ByteRaster {
    private final byte[] levels = new byte[256];
    private final boolean levelsAreValues;

    GrayRaster(ColorModel model, int[] colors, int width, int height) {
        super(model, new BufferedImage(width, height, BufferedImage.TYPE_BYTE_GRAY), width,
                height);
        boolean identity = true;
        for (int value = 0; value < levels.length; value++) {
            levels[value] = (byte) colors[value];
            identity &= (colors[value] & 0xFF) == value;
        }
        levelsAreValues = identity;
    }

    /** The level of each pixel value, or null when each value is its own level. */
    byte[] levelsUnlessValues() {
        return levelsAreValues ? null : levels.clone();
    }

    static boolean allGray(int[] colors) {
        for (int rgb : colors) {
            int blue = rgb & 0xFF;
            if ((rgb >> 8 & 0xFF) != blue || (rgb >> 16 & 0xFF) != blue) {
                return false;
            }
        }
        return true;
    }

    @Override
    void write(int x, int y, int w, int h, ColorModel model, byte[] pixels, int off,
            int scansize) {
        for (int row = 0; row < h; row++) {
            int source = off + row * scansize;
            int target = (y + row) * stride + x;
            if (levelsAreValues) {
                System.arraycopy(pixels, source, data, target, w);
            } else {
                for (int column = 0; column < w; column++) {
                    data[target + column] = levels[pixels[source + column] & 0xFF];
                }
            }
        }
    }
}
