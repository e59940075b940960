package QZ.korvel.twain.documents;

import java.awt.image.BufferedImage;
import org.apache.pdfbox.pdmodel.graphics.image.CCITTFactory;

/** How a page's pixels go into a PDF: Group 4 for black and white, else Flate. */
final class PdfImages {
    private PdfImages() {}

    static PdfImage of(BufferedImage image) {
        if (ImageFiles.isBlackAndWhite(image)) {
            return document -> CCITTFactory.createFromImage(document, image);
        }
        return image.getType() == BufferedImage.TYPE_BYTE_GRAY ? FlateImage.gray(image)
                                                                : FlateImage.rgb(image);
    }
}
