package QZ.korvel.twain;

import java.awt.image.ColorModel;

/** A raster of one byte per pixel or fewer, for pages whose pixels are one byte each. */
abstract class ByteRaster extends PageRaster {
    private final ColorModel model;

    ByteRaster(ColorModel model, int width, int height) {
        super(width, height);
        this.model = model;
    }

    /** The colors of the 256 pixel values of a model, as the consumer protocol reads them. */
    static int[] colorsOf(ColorModel model) {
        int[] colors = new int[256];
        for (int value = 0; value < colors.length; value++) {
            colors[value] = model.getRGB(value) & 0xFFFFFF;
        }
        return colors;
    }

    @Override
    final boolean takes(ColorModel model) {
        // Models are compared as the objects they are: two palettes may differ and still be equal.
        return model == this.model;
    }
}
