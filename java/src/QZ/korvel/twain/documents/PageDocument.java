package QZ.korvel.twain.documents;

import QZ.korvel.twain.Page;
import java.io.Closeable;
import java.io.IOException;
import java.nio.file.Path;
import java.util.Locale;

/**
 * A document of scanned pages, written losslessly at their own depth: black and white pages in
 * CCITT Group 4, gray pages as gray and the others as RGB, each at the size of the paper it was
 * scanned from. Pages are added in order; {@link #close()} completes the document with the pages
 * added so far, also after a failure, so that no page scanned is lost. A document to which no page
 * was added writes no file.
 *
 * <pre>{@code
 * try (PageDocument document = PageDocument.create(Paths.get("scan.pdf"))) {
 *     for (Page page : session.scanFeeder().pages()) {
 *         document.add(page);
 *     }
 * }
 * }</pre>
 */
public interface PageDocument extends Closeable {
    /**
     * Adds a page after those added before.
     *
     * @param page the page
     * @throws IOException if the page cannot be written; the message names the file
     */
    void add(Page page) throws IOException;

    /**
     * How many pages were added.
     *
     * @return the count
     */
    int pageCount();

    /**
     * Completes the document with its pages and lets go of what it holds. Calling it again does
     * nothing.
     *
     * @throws IOException if the document cannot be written; the message names the file and why
     */
    @Override
    void close() throws IOException;

    /**
     * A document of the format that the file's name asks for: a {@link PdfDocument} for {@code
     * .pdf}, a {@link TiffDocument} for {@code .tif} and {@code .tiff}, in any case of letters.
     *
     * @param file where the document goes; a file there is replaced
     * @return the document
     * @throws IllegalArgumentException if the name ends in none of those
     * @throws UnsupportedOperationException if this Java runtime cannot write that format (see
     *     {@link PdfDocument} and {@link TiffDocument})
     */
    static PageDocument create(Path file) {
        String name = file.getFileName().toString().toLowerCase(Locale.ROOT);
        if (name.endsWith(".pdf")) {
            return new PdfDocument(file);
        }
        if (name.endsWith(".tif") || name.endsWith(".tiff")) {
            return new TiffDocument(file);
        }
        throw new IllegalArgumentException(
                "a document's name ends in .pdf, .tif or .tiff, unlike " + file);
    }
}
