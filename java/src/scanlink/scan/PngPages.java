package scanlink.scan;

import QZ.korvel.twain.Page;
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
        ImageFiles.writeSingle(page, "png", null, file);
        return "written to " + file;
    }

    @Override
    public void finish() {}

    @Override
    public void close() {}
}
