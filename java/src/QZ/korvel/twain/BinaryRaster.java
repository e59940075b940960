package QZ.korvel.twain;

import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.DataBuffer;
import java.awt.image.IndexColorModel;

/** A 1-bit page: eight pixels to the byte, the leftmost in the highest bit. */
final class BinaryRaster extends ByteRaster {
    BinaryRaster(ColorModel model, int[] colors, int width, int height) {
        super(model, new BufferedImage(width, height, BufferedImage.TYPE_BYTE_BINARY,
                twoColors(colors)), width, height);
    }

    /** A 1-bit model reads only the lowest bit of a pixel value, so two colors say it all. */
    private static IndexColorModel twoColors(int[] colors) {
        return new IndexColorModel(1, 2, new int[] {colors[0], colors[1]}, 0, false, -1,
                DataBuffer.TYPE_BYTE);
    }

    @Override
    void write(int x, int y, int w, int h, ColorModel model, byte[] pixels, int off,
            int scansize) {
        for (int row = 0; row < h; row++) {
            int source = off + row * scansize;
            int rowStart = (y + row) * stride;
            int column = 0;
            if (x == 0) {
                // Whole bytes from the left edge, eight pixels at a time.
                for (int end = w & ~7; column < end; column += 8, source += 8) {
                    data[rowStart + (column >> 3)] = (byte) ((pixels[source] & 1) << 7
                            | (pixels[source + 1] & 1) << 6 | (pixels[source + 2] & 1) << 5
                            | (pixels[source + 3] & 1) << 4 | (pixels[source + 4] & 1) << 3
                            | (pixels[source + 5] & 1) << 2 | (pixels[source + 6] & 1) << 1
                            | (pixels[source + 7] & 1));
                }
            }
            for (; column < w; column++, source++) {
                int at = x + column;
                int index = rowStart + (at >> 3);
                int bit = 0x80 >> (at & 7);
                data[index] = (byte) ((pixels[source] & 1) != 0 ? data[index] | bit
                                                                 : data[index] & ~bit);
            }
        }
    }
}
