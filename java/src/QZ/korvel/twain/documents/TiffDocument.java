package QZ.korvel.twain.documents;

import QZ.korvel.twain.Page;
import java.io.IOException;
import java.nio.file.Path;
import java.util.Objects;
import javax.imageio.ImageWriteParam;
import javax.imageio.ImageWriter;
import javax.imageio.stream.ImageOutputStream;

/**
 * A multi-page TIFF file of scanned pages (see {@link PageDocument}), lossless: black and white
 * pages in CCITT T.6 (Group 4), the others Deflate, each page with its resolution. Each page is
 * written to the file as it is added; the file is made with the first page.
 *
 * <p>It needs the TIFF writer of {@code javax.imageio}, which Java has from version 9 on.
 */
public final class TiffDocument implements PageDocument {
    private final Path file;
    private ImageWriter writer;
    private ImageOutputStream out;
    private int pages;
    private boolean closed;

    /**
     * A document to be written to the file.
     *
     * @param file where it goes; a file there is replaced when the first page is added
     * @throws UnsupportedOperationException if this Java runtime has no TIFF writer (Java 8)
     */
    public TiffDocument(Path file) {
        this.file = Objects.requireNonNull(file, "file");
        ImageFiles.writer("tiff").dispose();
    }

    @Override
    public void add(Page page) throws IOException {
        Objects.requireNonNull(page, "page");
        if (closed) {
            throw new IllegalStateException("the document " + file + " is closed");
        }
        if (writer == null) {
            out = ImageFiles.open(file);
            writer = ImageFiles.writer("tiff");
            writer.setOutput(out);
            try {
                writer.prepareWriteSequence(null);
            } catch (IOException e) {
                throw FileFailures.failedWrite(file, e);
            }
        }
        String compression = ImageFiles.isBlackAndWhite(page.image()) ? "CCITT T.6" : "Deflate";
        ImageWriteParam param = ImageFiles.param(writer, compression);
        try {
            writer.writeToSequence(ImageFiles.image(writer, page, param), param);
        } catch (IOException e) {
            throw FileFailures.failedWrite(file, e);
        }
        pages++;
    }

    @Override
    public int pageCount() {
        return pages;
    }

    @Override
    public void close() throws IOException {
        if (closed || writer == null) {
            closed = true;
            return;
        }
        closed = true;
        try {
            writer.endWriteSequence();
            out.flush();
        } catch (IOException e) {
            throw FileFailures.failedWrite(file, e);
        } finally {
            writer.dispose();
            out.close();
        }
    }
}
