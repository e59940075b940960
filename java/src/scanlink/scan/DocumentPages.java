package scanlink.scan;

import QZ.korvel.twain.Page;
import QZ.korvel.twain.documents.PageDocument;
import java.io.IOException;
import java.nio.file.Path;

/** One PDF or TIFF document with a page per scanned page, as the library writes them. */
final class DocumentPages implements PageWriter {
    private final Path file;
    private final PageDocument document;

    DocumentPages(Path file) {
        this.file = file;
        this.document = PageDocument.create(file);
    }

    @Override
    public String write(Page page) throws IOException {
        document.add(page);
        return "added to " + file;
    }

    @Override
    public void close() throws IOException {
        document.close();
    }
}
