package scanlink.scan;

import QZ.korvel.twain.Page;
import java.awt.image.BufferedImage;
import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.nio.file.Path;
import java.util.zip.DeflaterOutputStream;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.PDPageContentStream;
import org.apache.pdfbox.pdmodel.common.PDRectangle;
import org.apache.pdfbox.pdmodel.graphics.color.PDColorSpace;
import org.apache.pdfbox.pdmodel.graphics.color.PDDeviceGray;
import org.apache.pdfbox.pdmodel.graphics.color.PDDeviceRGB;
import org.apache.pdfbox.pdmodel.graphics.image.CCITTFactory;
import org.apache.pdfbox.pdmodel.graphics.image.PDImageXObject;

/**
 * One PDF document, a page per scanned page at its physical size (pixels / dpi x 72 points; 72
 * dpi when the source did not tell), each image stored losslessly: black and white pages in CCITT
 * Group 4, gray pages as 8-bit gray and every other page as 8-bit RGB, both Flate.
 *
 * <p>Gray and RGB samples are written here rather than by PDFBox's own lossless factory, which
 * reads gray pages through {@link BufferedImage#getRGB} (a linear-gray conversion that lightens
 * them) and treats two-color palettes as gray.
 */
final class PdfDocument implements PageWriter {
    private static final float POINTS_PER_INCH = 72;

    private final Path file;
    private final PDDocument document = new PDDocument();
    private int pages;

    PdfDocument(Path file) {
        this.file = file;
    }

    @Override
    public String write(Page page) throws IOException {
        BufferedImage image = page.image();
        PDImageXObject pdfImage = ImageFiles.isBlackAndWhite(image)
                ? CCITTFactory.createFromImage(document, image)
                : flate(image);
        PDPage pdfPage = new PDPage(new PDRectangle(points(image.getWidth(), page.xResolution()),
                points(image.getHeight(), page.yResolution())));
        document.addPage(pdfPage);
        try (PDPageContentStream content = new PDPageContentStream(document, pdfPage)) {
            PDRectangle box = pdfPage.getMediaBox();
            content.drawImage(pdfImage, 0, 0, box.getWidth(), box.getHeight());
        }
        pages++;
        return "added to " + file;
    }

    @Override
    public void finish() throws IOException {
        if (pages > 0) {
            try {
                document.save(file.toFile());
            } catch (IOException e) {
                throw OutputCheck.failedWrite(file, e);
            }
        }
    }

    @Override
    public void close() throws IOException {
        document.close();
    }

    private static float points(int pixels, double dotsPerInch) {
        return (float) (pixels * POINTS_PER_INCH / (dotsPerInch > 0 ? dotsPerInch : POINTS_PER_INCH));
    }

    private PDImageXObject flate(BufferedImage image) throws IOException {
        boolean gray = image.getType() == BufferedImage.TYPE_BYTE_GRAY;
        int width = image.getWidth();
        int height = image.getHeight();
        ByteArrayOutputStream compressed = new ByteArrayOutputStream();
        try (OutputStream out = new DeflaterOutputStream(compressed)) {
            if (gray) {
                writeGray(image, out);
            } else {
                writeRgb(image, out);
            }
        }
        PDColorSpace colorSpace = gray ? PDDeviceGray.INSTANCE : PDDeviceRGB.INSTANCE;
        return new PDImageXObject(document, new ByteArrayInputStream(compressed.toByteArray()),
                COSName.FLATE_DECODE, width, height, 8, colorSpace);
    }

    /** The gray levels as the raster holds them, row by row. */
    private static void writeGray(BufferedImage image, OutputStream out) throws IOException {
        int width = image.getWidth();
        byte[] row = new byte[width];
        for (int y = 0; y < image.getHeight(); y++) {
            image.getRaster().getDataElements(0, y, width, 1, row);
            out.write(row);
        }
    }

    /** Red, green and blue bytes of each pixel, row by row. */
    private static void writeRgb(BufferedImage image, OutputStream out) throws IOException {
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
