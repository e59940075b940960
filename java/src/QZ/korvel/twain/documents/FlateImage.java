package QZ.korvel.twain.documents;

import java.awt.image.BufferedImage;
import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.util.zip.DeflaterOutputStream;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.graphics.color.PDColorSpace;
import org.apache.pdfbox.pdmodel.graphics.color.PDDeviceGray;
import org.apache.pdfbox.pdmodel.graphics.color.PDDeviceRGB;
import org.apache.pdfbox.pdmodel.graphics.image.PDImageXObject;

/**
 * 8-bit gray or RGB samples, Flate-compressed. The samples are written here rather than by
 * PDFBox's own lossless factory, which reads gray pages through {@link BufferedImage#getRGB} (a
 * linear-gray conversion that lightens them) and treats two-color palettes as gray.
 */
final class FlateImage implements PdfImage {
    private final BufferedImage image;
    private final boolean gray;

    private FlateImage(BufferedImage image, boolean gray) {
        this.image = image;
        this.gray = gray;
    }

    /** The gray levels as a TYPE_BYTE_GRAY raster holds them. */
    static FlateImage gray(BufferedImage image) {
        return new FlateImage(image, true);
    }

    /** The color of each pixel, whatever the image's type. */
    static FlateImage rgb(BufferedImage image) {
        return new FlateImage(image, false);
    }

    @Override
    public PDImageXObject embed(PDDocument document) throws IOException {
        ByteArrayOutputStream compressed = new ByteArrayOutputStream();
        try (OutputStream out = new DeflaterOutputStream(compressed)) {
            if (gray) {
                writeGray(out);
            } else {
                writeRgb(out);
            }
        }
        PDColorSpace colorSpace = gray ? PDDeviceGray.INSTANCE : PDDeviceRGB.INSTANCE;
        return new PDImageXObject(document, new ByteArrayInputStream(compressed.toByteArray()),
                COSName.FLATE_DECODE, image.getWidth(), image.getHeight(), 8, colorSpace);
    }

    private void writeGray(OutputStream out) throws IOException {
        int width = image.getWidth();
        byte[] row = new byte[width];
        for (int y = 0; y < image.getHeight(); y++) {
            image.getRaster().getDataElements(0, y, width, 1, row);
            out.write(row);
        }
    }

    private void writeRgb(OutputStream out) throws IOException {
        int width = image.getWidth();
        int[] rgb = new int[width];
        byte[] row = new byte[width * 3];
        for (int y = 0; y < image.getHeight(); y++) {
            image.getRGB(0, y, width, 1, rgb, 0, width);
            for (int x = 0; x < width; x++) {
                row[3 * x] = (byte) (rgb[x] >> 16);
                row[3 * x + 1] = (byte) (rgb[x] >> 8);
                row[3 * x + 2] = (byte) rgb[x];
            }
            out.write(row);
        }
    }
}
