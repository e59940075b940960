package scanlink.scan;

import QZ.korvel.twain.Page;
import java.io.IOException;
import java.nio.file.Path;
import javax.imageio.ImageWriteParam;
import javax.imageio.ImageWriter;
import javax.imageio.stream.ImageOutputStream;

/**
 * One multi-page TIFF file, lossless: black and white pages in CCITT T.6 (Group 4), the others
 * Deflate.
 */
final class TiffDocument implements PageWriter {
    private final Path file;
    private ImageWriter writer;
    private ImageOutputStream out;
    private int pages;

    TiffDocument(Path file) {
        this.file = file;
    }

    @Override
    public String write(Page page) throws IOException {
        if (writer == null) {
            writer = ImageFiles.writer("tiff");
            out = ImageFiles.open(file);
            writer.setOutput(out);
            writer.prepareWriteSequence(null);
        }
        String compression = ImageFiles.isBlackAndWhite(page.image()) ? "CCITT T.6" : "Deflate";
        ImageWriteParam param = ImageFiles.param(writer, compression);
        writer.writeToSequence(ImageFiles.image(writer, page, param), param);
        pages++;
        return "added to " + file;
    }

    @Override
    public void finish() throws IOException {
        if (pages > 0) {
            writer.endWriteSequence();
            out.flush();
        }
    }

    @Override
    public void close() throws IOException {
        if (writer != null) {
            writer.dispose();
            out.close();
        }
    }
}
