package scanlink.scan;

import QZ.korvel.twain.Page;
import java.io.IOException;

/** Where the scanned pages go: files of the format that the output's name asks for. */
interface PageWriter extends AutoCloseable {
    /** Writes one page, in page order; what became of it, for the program's report. */
    String write(Page page) throws IOException;

    /** Completes the output with the pages written so far; no file when there were none. */
    void finish() throws IOException;

    /** Lets go of what the writer holds; what was not finished is not written. */
    @Override
    void close() throws IOException;

    static PageWriter create(ScanOptions options) {
        return switch (options.format) {
            case PNG -> new PngPages(options);
            case TIFF -> new TiffDocument(options.output);
            case PDF -> new PdfDocument(options.output);
        };
    }
}
