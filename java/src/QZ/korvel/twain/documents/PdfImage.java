package QZ.korvel.twain.documents;

import java.io.IOException;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.graphics.image.PDImageXObject;

/**
 * A page's image as a PDF holds it: encoded samples with the filter that decodes them. A page that
 * arrives already encoded becomes one of these as it came, without being decoded first.
 */
interface PdfImage {
    /** The image as an object of the document. */
    PDImageXObject embed(PDDocument document) throws IOException;
}
