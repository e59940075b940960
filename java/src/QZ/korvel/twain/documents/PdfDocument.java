package QZ.korvel.twain.documents;

import QZ.korvel.twain.Page;
import java.io.IOException;
import java.nio.file.Path;
import java.util.Objects;

/**
 * A PDF document of scanned pages (see {@link PageDocument}): a page per scanned page at the size
 * of its paper, pixels / dots per inch x 72 points (72 dots per inch when the source did not tell);
 * black and white pages in CCITT Group 4, gray pages as 8-bit gray and the others as 8-bit RGB,
 * both Flate. Gray pages keep their levels: the samples are the raster's, not colors read through
 * {@link java.awt.image.BufferedImage#getRGB}, which lightens gray.
 *
 * <p>It needs Apache PDFBox 2 on the class path ({@code pdfbox}, {@code fontbox} and {@code
 * commons-logging}; Debian's {@code libpdfbox2-java}), which nothing else in the binding does. The
 * document is held in memory and written by {@link #close()}.
 */
public final class PdfDocument implements PageDocument {
    static final String PDFBOX_CLASS = "org.apache.pdfbox.pdmodel.PDDocument";

    private final Path file;
    private final PdfPages pages;
    private boolean closed;

    /**
     * A document to be written to the file.
     *
     * @param file where it goes; a file there is replaced
     * @throws UnsupportedOperationException if PDFBox is not on the class path
     */
    public PdfDocument(Path file) {
        this.file = Objects.requireNonNull(file, "file");
        requirePdfBox();
        pages = new PdfPages();
    }

    @Override
    public void add(Page page) throws IOException {
        Objects.requireNonNull(page, "page");
        if (closed) {
            throw new IllegalStateException("the document " + file + " is closed");
        }
        pages.add(PdfImages.of(page.image()), page.image().getWidth(), page.image().getHeight(),
                page.xResolution(), page.yResolution());
    }

    @Override
    public int pageCount() {
        return pages.count();
    }

    @Override
    public void close() throws IOException {
        if (!closed) {
            closed = true;
            pages.writeAndRelease(file);
        }
    }

    private static void requirePdfBox() {
        try {
            Class.forName(PDFBOX_CLASS, false, PdfDocument.class.getClassLoader());
        } catch (ClassNotFoundException | LinkageError e) {
            throw new UnsupportedOperationException("writing PDF needs Apache PDFBox 2 on the class "
                    + "path (pdfbox, fontbox and commons-logging; Debian's libpdfbox2-java): "
                    + PDFBOX_CLASS + " is not there", e);
        }
    }
}
