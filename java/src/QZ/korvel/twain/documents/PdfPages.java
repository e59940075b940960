package QZ.korvel.twain.documents;

import java.io.IOException;
import java.nio.file.Path;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.PDPageContentStream;
import org.apache.pdfbox.pdmodel.common.PDRectangle;

/**
 * The PDFBox document behind a {@link PdfDocument}: the one class that PDFBox must be there for,
 * loaded only once {@link PdfDocument} found it.
 */
final class PdfPages {
    private static final float POINTS_PER_INCH = 72;

    private final PDDocument document = new PDDocument();
    private int count;

    /** A page at the size of its paper, wholly covered by its image. */
    void add(PdfImage image, int width, int height, double xResolution, double yResolution)
            throws IOException {
        PDPage page = new PDPage(
                new PDRectangle(points(width, xResolution), points(height, yResolution)));
        document.addPage(page);
        try (PDPageContentStream content = new PDPageContentStream(document, page)) {
            PDRectangle box = page.getMediaBox();
            content.drawImage(image.embed(document), 0, 0, box.getWidth(), box.getHeight());
        }
        count++;
    }

    int count() {
        return count;
    }

    /** Writes the document when it has pages, then lets PDFBox free what it holds. */
    void writeAndRelease(Path file) throws IOException {
        try {
            if (count > 0) {
                try {
                    document.save(file.toFile());
                } catch (IOException e) {
                    throw FileFailures.failedWrite(file, e);
                }
            }
        } finally {
            document.close();
        }
    }

    private static float points(int pixels, double dotsPerInch) {
        return (float) (pixels * POINTS_PER_INCH
                / (dotsPerInch > 0 ? dotsPerInch : POINTS_PER_INCH));
    }
}
