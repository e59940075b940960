package scanlink.documents;

import QZ.korvel.twain.Page;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.documents.PageDocument;
import QZ.korvel.twain.documents.PdfDocument;
import java.nio.file.Path;
import java.nio.file.Paths;

/**
 * Scans a page into a TIFF file, then asks for a PDF document, in a VM whose class path has no
 * PDFBox; prints what became of each, a line each.
 */
public final class WithoutPdfBox {
    private WithoutPdfBox() {}

    public static void main(String[] args) throws Exception {
        Path folder = Paths.get(args[0]);
        try (ScanSession session = ScanSession.open("scanlink32", "Tests", "Without PDFBox")) {
            session.openSource();
            session.setShowUserInterface(false);
            ScanResult result = session.scan(1);
            try (PageDocument tiff = PageDocument.create(folder.resolve("page.tif"))) {
                for (Page page : result.pages()) {
                    tiff.add(page);
                }
                System.out.println("TIFF: " + tiff.pageCount() + " page");
            }
        }
        try {
            new PdfDocument(folder.resolve("page.pdf")).close();
            System.out.println("PDF: written");
        } catch (UnsupportedOperationException e) {
            System.out.println("PDF: " + e.getMessage());
        }
    }
}
