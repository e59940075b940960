package scanlink.scan;

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

    private ImageFiles() {}

    static ImageWriter writer(String format) throws IOException {
        Iterator<ImageWriter> writers = ImageIO.getImageWritersByFormatName(format);
        if (!writers.hasNext()) {
            throw new IOException("no " + format + " writer is available");
        }
        return writers.next();
    }

    /** One page in a file of its own. */
    static void writeSingle(Page page, String format, String compression, Path file)
            throws IOException {
        ImageWriter writer = writer(format);
        try (ImageOutputStream out = open(file)) {
            writer.setOutput(out);
            ImageWriteParam param = param(writer, compression);
            writer.write(null, image(writer, page, param), param);
        } finally {
            writer.dispose();
        }
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
            throw OutputCheck.failedWrite(file, e);
        }
    }

    /** The writer's parameters with the given compression, or its default one for null. */
    static ImageWriteParam param(ImageWriter writer, String compression) {
        ImageWriteParam param = writer.getDefaultWriteParam();
        if (compression != null) {
            param.setCompressionMode(ImageWriteParam.MODE_EXPLICIT);
            param.setCompressionType(compression);
        }
        return param;
    }

    /** The page with metadata that gives its resolution, when it is known. */
    static IIOImage image(ImageWriter writer, Page page, ImageWriteParam param)
            throws IOException {
        BufferedImage image = page.image();
        IIOMetadata metadata =
                writer.getDefaultImageMetadata(new ImageTypeSpecifier(image), param);
        if (page.xResolution() > 0 && page.yResolution() > 0
                && metadata.isStandardMetadataFormatSupported() && !metadata.isReadOnly()) {
            IIOMetadataNode dimension = new IIOMetadataNode("Dimension");
            dimension.appendChild(pixelSize("HorizontalPixelSize", page.xResolution()));
            dimension.appendChild(pixelSize("VerticalPixelSize", page.yResolution()));
            IIOMetadataNode root = new IIOMetadataNode(STANDARD_METADATA);
            root.appendChild(dimension);
            try {
                metadata.mergeTree(STANDARD_METADATA, root);
            } catch (IIOInvalidTreeException e) {
                throw new IOException("the writer refuses the page's resolution", e);
            }
        }
        return new IIOImage(image, null, metadata);
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
