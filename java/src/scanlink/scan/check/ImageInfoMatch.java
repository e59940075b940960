package scanlink.scan.check;

import QZ.korvel.twain.ImageInfo;
import QZ.korvel.twain.PixelType;
import java.awt.image.BufferedImage;
import java.util.ArrayList;
import java.util.List;

/** DAT_IMAGEINFO against the page that came: its size, pixel type, bits and resolution. */
final class ImageInfoMatch {
    private static final double RESOLUTION_TOLERANCE = 0.01;

    private ImageInfoMatch() {}

    static void compare(CheckResult check, ImageInfo info, PixelType type, double[] resolution,
            BufferedImage image, List<String> triplets) {
        List<String> differences = new ArrayList<>();
        if (info.width() != image.getWidth() || info.length() != image.getHeight()) {
            differences.add("it tells " + info.width() + " x " + info.length()
                    + " pixels, the page has " + image.getWidth() + " x " + image.getHeight());
        }
        if (info.pixelType() != type.code()) {
            differences.add("it tells PixelType " + info.pixelType() + ", ICAP_PIXELTYPE is "
                    + type.code() + " (" + type + ")");
        }
        if (Math.abs(info.xResolution() - resolution[0]) > RESOLUTION_TOLERANCE
                || Math.abs(info.yResolution() - resolution[1]) > RESOLUTION_TOLERANCE) {
            differences.add("it tells a resolution of " + info.xResolution() + " x "
                    + info.yResolution() + ", ICAP_XRESOLUTION and ICAP_YRESOLUTION are "
                    + resolution[0] + " x " + resolution[1]);
        }
        if (!differences.isEmpty()) {
            check.add(new Finding(Verdict.FAIL, "DAT_IMAGEINFO does not describe the page: "
                    + String.join("; ", differences), triplets));
            return;
        }
        int pixelBits = image.getColorModel().getPixelSize();
        if (info.bitsPerPixel() != pixelBits) {
            check.add(new Finding(Verdict.WARN, "DAT_IMAGEINFO tells " + info.bitsPerPixel()
                    + " bits per pixel, the page has " + pixelBits, triplets));
            return;
        }
        check.add(new Finding(Verdict.PASS, "DAT_IMAGEINFO (" + info + ") describes the page of "
                + image.getWidth() + " x " + image.getHeight() + " pixels", triplets));
    }
}
