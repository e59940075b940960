package scanlink.scan;

import QZ.korvel.twain.Page;
import java.io.IOException;

/** Where the scanned pages go: files of the format that the output's name asks for. */
interface PageWriter extends AutoCloseable {
    /** Writes one page, in page order; what became of it, for the program's report. */
    String write(Page page) throws IOException;

    /** Completes the output with the pages written so far; no file when there were none. */
    @Override
    void close() throws IOException;

    static PageWriter create(ScanOptions options) {
        return options.format == ScanOptions.Format.PNG ? new PngPages(options)
                                                        : new DocumentPages(options.output);
    }
}
