package QZ.korvel.twain;

import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.ComponentSampleModel;
import java.awt.image.DataBufferByte;
import java.awt.image.MultiPixelPackedSampleModel;
import java.awt.image.SampleModel;

/** A raster of one byte per pixel or fewer, for pages whose pixels are one byte each. */
abstract class ByteRaster extends PageRaster {
    private final ColorModel model;
    private final BufferedImage image;
    /** The image's own bytes, written in place. */
    final byte[] data;
    /** Bytes from one row of {@link #data} to the next. */
    final int stride;

    ByteRaster(ColorModel model, BufferedImage image, int width, int height) {
        super(width, height);
        this.model = model;
        this.image = image;
        data = ((DataBufferByte) image.getRaster().getDataBuffer()).getData();
        stride = scanlineStride(image.getSampleModel());
    }

    private static int scanlineStride(SampleModel sampleModel) {
        return sampleModel instanceof MultiPixelPackedSampleModel
                ? ((MultiPixelPackedSampleModel) sampleModel).getScanlineStride()
                : ((ComponentSampleModel) sampleModel).getScanlineStride();
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
    final BufferedImage image() {
        return image;
    }

    @Override
    final boolean takes(ColorModel model) {
        // Models are compared as the objects they are: two palettes may differ and still be equal.
        return model == this.model;
    }
}
