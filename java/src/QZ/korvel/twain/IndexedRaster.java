package QZ.korvel.twain;

import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.DataBuffer;
import java.awt.image.IndexColorModel;

/** A page of colors from a palette: one byte per pixel, the pixel value itself. */
final class IndexedRaster extends ByteRaster {
    IndexedRaster(ColorModel model, int[] colors, int width, int height) {
        super(model, new BufferedImage(width, height, BufferedImage.TYPE_BYTE_INDEXED,
                palette(colors)), width, height);
    }

    /**
     * All 256 values get the color that the page's model gives them, so a value beyond the page's
     * palette looks as the protocol says, and the bytes are copied unchanged.
     */
    private static IndexColorModel palette(int[] colors) {
        return new IndexColorModel(8, colors.length, colors, 0, false, -1, DataBuffer.TYPE_BYTE);
    }

    @Override
    void write(int x, int y, int w, int h, ColorModel model, byte[] pixels, int off,
            int scansize) {
        for (int row = 0; row < h; row++) {
            System.arraycopy(pixels, off + row * scansize, data, (y + row) * stride + x, w);
        }
    }
}
