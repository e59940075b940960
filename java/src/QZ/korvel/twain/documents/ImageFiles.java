package QZ.korvel.twain.documents;

import QZ.korvel.twain.Page;
import java.awt.image.BufferedImage;
import java.awt.image.IndexColorModel;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Iterator;
import javax.imageio.IIOImage;
import javax.imageio.ImageIO;
import javax.imageio.ImageTypeSpecifier;
import javax.imageio.ImageWriteParam;
import javax.imageio.ImageWriter;
import javax.imageio.metadata.IIOInvalidTreeException;
import javax.imageio.metadata.IIOMetadata;
import javax.imageio.metadata.IIOMetadataNode;
import javax.imageio.stream.FileImageOutputStream;
import javax.imageio.stream.ImageOutputStream;

/** Pages as images of javax.imageio, with their resolution in the file. */
final class ImageFiles {
    private static final String STANDARD_METADATA = "javax_imageio_1.0";
    private static final String PNG_METADATA = "javax_imageio_png_1.0";

    private ImageFiles() {}

    /**
     * The writer of a format.
     *
     * @throws UnsupportedOperationException if this Java runtime has none; TIFF came with Java 9
     */
    static ImageWriter writer(String format) {
        Iterator<ImageWriter> writers = ImageIO.getImageWritersByFormatName(format);
        if (!writers.hasNext()) {
            throw new UnsupportedOperationException("javax.imageio of this Java runtime (Java "
                    + System.getProperty("java.version") + ") has no " + format + " writer"
                    + (format.equals("tiff") ? ": writing TIFF needs Java 9 or later" : ""));
        }
        return writers.next();
    }

    /**
     * A new file for an image writer, replacing what was there; a file that cannot be made fails
     * with the file and the reason.
     */
    static ImageOutputStream open(Path file) throws IOException {
        if (Files.isDirectory(file)) {
            throw new IOException("cannot write " + file + ": it is a folder");
        }
        try {
            // A file image stream writes over an old file without cutting it, so it goes first.
            Files.deleteIfExists(file);
            return new FileImageOutputStream(file.toFile());
        } catch (IOException e) {
            throw FileFailures.failedWrite(file, e);
        }
    }

    /** The writer's parameters with the given compression. */
    static ImageWriteParam param(ImageWriter writer, String compression) {
        ImageWriteParam param = writer.getDefaultWriteParam();
        param.setCompressionMode(ImageWriteParam.MODE_EXPLICIT);
        param.setCompressionType(compression);
        return param;
    }

    /** The page with metadata that gives its resolution, when it is known. */
    static IIOImage image(ImageWriter writer, Page page, ImageWriteParam param)
            throws IOException {
        BufferedImage image = page.image();
        IIOMetadata metadata =
                writer.getDefaultImageMetadata(new ImageTypeSpecifier(image), param);
        if (page.xResolution() > 0 && page.yResolution() > 0 && !metadata.isReadOnly()) {
            try {
                if (PNG_METADATA.equals(metadata.getNativeMetadataFormatName())) {
                    metadata.mergeTree(PNG_METADATA, pngResolution(page));
                } else if (metadata.isStandardMetadataFormatSupported()) {
                    metadata.mergeTree(STANDARD_METADATA, standardResolution(page));
                }
            } catch (IIOInvalidTreeException e) {
                throw new IOException("the writer refuses the page's resolution", e);
            }
        }
        return new IIOImage(image, null, metadata);
    }

    /** Millimeters per pixel, as the standard metadata gives a resolution. */
    private static IIOMetadataNode standardResolution(Page page) {
        IIOMetadataNode dimension = new IIOMetadataNode("Dimension");
        dimension.appendChild(pixelSize("HorizontalPixelSize", page.xResolution()));
        dimension.appendChild(pixelSize("VerticalPixelSize", page.yResolution()));
        IIOMetadataNode root = new IIOMetadataNode(STANDARD_METADATA);
        root.appendChild(dimension);
        return root;
    }

    /**
     * Pixels per meter in PNG's own pHYs chunk: the PNG writer of javax.imageio takes the standard
     * metadata's millimeters per pixel for pixels per millimeter, and would write 300 dpi as 2.
     */
    private static IIOMetadataNode pngResolution(Page page) {
        IIOMetadataNode physical = new IIOMetadataNode("pHYs");
        physical.setAttribute("pixelsPerUnitXAxis", perMeter(page.xResolution()));
        physical.setAttribute("pixelsPerUnitYAxis", perMeter(page.yResolution()));
        physical.setAttribute("unitSpecifier", "meter");
        IIOMetadataNode root = new IIOMetadataNode(PNG_METADATA);
        root.appendChild(physical);
        return root;
    }

    private static String perMeter(double dotsPerInch) {
        return Long.toString(Math.round(dotsPerInch / 0.0254));
    }

    /** Whether the page holds black and white only, in one bit per pixel. */
    static boolean isBlackAndWhite(BufferedImage image) {
        if (image.getType() != BufferedImage.TYPE_BYTE_BINARY
                || !(image.getColorModel() instanceof IndexColorModel)) {
            return false;
        }
        IndexColorModel palette = (IndexColorModel) image.getColorModel();
        if (palette.getMapSize() != 2) {
            return false;
        }
        int first = palette.getRGB(0) & 0xFFFFFF;
        int second = palette.getRGB(1) & 0xFFFFFF;
        return (first == 0 && second == 0xFFFFFF) || (first == 0xFFFFFF && second == 0);
    }

    private static IIOMetadataNode pixelSize(String name, double dotsPerInch) {
        IIOMetadataNode node = new IIOMetadataNode(name);
        node.setAttribute("value", Double.toString(25.4 / dotsPerInch)); // millimeters per pixel
        return node;
    }
}
