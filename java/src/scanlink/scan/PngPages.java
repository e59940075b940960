package scanlink.scan;

import QZ.korvel.twain.Page;
import QZ.korvel.twain.documents.PngFile;
import java.io.IOException;
import java.nio.file.Path;

/** One PNG file per page, with the page's resolution. */
final class PngPages implements PageWriter {
    private final ScanOptions options;

    PngPages(ScanOptions options) {
        this.options = options;
    }

    @Override
    public String write(Page page) throws IOException {
        Path file = options.pageFile(page.number());
        PngFile.write(page, file);
        return "written to " + file;
    }

    @Override
    public void close() {}
}
