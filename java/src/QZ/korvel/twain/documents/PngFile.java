package QZ.korvel.twain.documents;

import QZ.korvel.twain.Page;
import java.io.IOException;
import java.nio.file.Path;
import javax.imageio.ImageWriteParam;
import javax.imageio.ImageWriter;
import javax.imageio.stream.ImageOutputStream;

/** A scanned page as a PNG file of its own, at its own depth and with its resolution. */
public final class PngFile {
    private PngFile() {}

    /**
     * Writes the page.
     *
     * @param page the page
     * @param file where it goes; a file there is replaced
     * @throws IOException if the file cannot be written; the message names it and says why
     */
    public static void write(Page page, Path file) throws IOException {
        ImageWriter writer = ImageFiles.writer("png");
        try (ImageOutputStream out = ImageFiles.open(file)) {
            writer.setOutput(out);
            ImageWriteParam param = writer.getDefaultWriteParam();
            writer.write(null, ImageFiles.image(writer, page, param), param);
        } catch (IOException e) {
            throw FileFailures.failedWrite(file, e);
        } finally {
            writer.dispose();
        }
    }
}
