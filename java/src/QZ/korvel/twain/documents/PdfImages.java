package QZ.korvel.twain.documents;

import QZ.korvel.twain.EncodedImage;
import QZ.korvel.twain.Page;
import java.awt.image.BufferedImage;
import java.io.ByteArrayInputStream;
import java.io.IOException;
import org.apache.pdfbox.cos.COSDictionary;
import org.apache.pdfbox.cos.COSName;
import org.apache.pdfbox.pdmodel.graphics.color.PDDeviceGray;
import org.apache.pdfbox.pdmodel.graphics.image.CCITTFactory;
import org.apache.pdfbox.pdmodel.graphics.image.JPEGFactory;
import org.apache.pdfbox.pdmodel.graphics.image.PDImageXObject;

/**
 * How a page's pixels go into a PDF: an encoded page as it came, else Group 4 for black and white
 * and Flate for the others.
 */
final class PdfImages {
    /** CCITTFaxDecode's K for Group 4 (T.6) data. */
    private static final int GROUP_4 = -1;

    private PdfImages() {}

    static PdfImage of(Page page) {
        EncodedImage encoded = page.encoded();
        if (encoded != null) {
            switch (encoded.format()) {
                case JPEG:
                    return document -> JPEGFactory.createFromByteArray(document, encoded.bytes());
                case GROUP4:
                    if (encoded.width() > 0 && encoded.height() > 0) {
                        return document -> group4(document, encoded);
                    }
                    break;
                case TIFF:
                    return document -> {
                        try {
                            return CCITTFactory.createFromByteArray(document, encoded.bytes());
                        } catch (IOException e) {
                            // No TIFF of one Group 4 strip: its pixels go in as any page's.
                            return of(page.image()).embed(document);
                        }
                    };
                default:
                    break;
            }
        }
        return of(page.image());
    }

    static PdfImage of(BufferedImage image) {
        if (ImageFiles.isBlackAndWhite(image)) {
            return document -> CCITTFactory.createFromImage(document, image);
        }
        return image.getType() == BufferedImage.TYPE_BYTE_GRAY ? FlateImage.gray(image)
                                                                : FlateImage.rgb(image);
    }

    /** The data as it came, with the parameters that say how to read it: 0 bits are white. */
    private static PDImageXObject group4(
            org.apache.pdfbox.pdmodel.PDDocument document, EncodedImage encoded)
            throws IOException {
        PDImageXObject image = new PDImageXObject(document,
                new ByteArrayInputStream(encoded.bytes()), COSName.CCITTFAX_DECODE,
                encoded.width(), encoded.height(), 1, PDDeviceGray.INSTANCE);
        COSDictionary parameters = new COSDictionary();
        parameters.setInt(COSName.K, GROUP_4);
        parameters.setInt(COSName.COLUMNS, encoded.width());
        parameters.setInt(COSName.ROWS, encoded.height());
        image.getCOSObject().setItem(COSName.DECODE_PARMS, parameters);
        return image;
    }
}
