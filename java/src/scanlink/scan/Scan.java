package scanlink.scan;

import QZ.korvel.twain.Page;
import QZ.korvel.twain.PageListener;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.Trace;
import QZ.korvel.twain.TwainException;

/**
 * Scans pages with the default TWAIN source into PNG files, a TIFF file or a PDF document.
 *
 * <p>Each page is written while the next one is scanned. When a page fails, the pages scanned
 * before it are still written, and the program then reports the failure.
 */
public final class Scan {
    private Scan() {}

    public static void main(String[] args) {
        ScanOptions options;
        try {
            options = ScanOptions.parse(args);
        } catch (ScanOptions.UsageException e) {
            if (args.length == 1 && args[0].equals("--help")) {
                System.out.println(ScanOptions.USAGE);
                return;
            }
            System.err.println("scan: " + e.getMessage());
            System.err.println(ScanOptions.USAGE);
            System.exit(2);
            return;
        }
        try {
            int scanned = run(options);
            System.out.println("Scanned " + scanned + (scanned == 1 ? " page." : " pages."));
        } catch (Exception e) {
            System.err.println("scan: " + e.getMessage());
            System.exit(1);
        }
    }

    /**
     * Runs the whole scan, from opening the session to closing it; the number of pages written.
     *
     * @throws Exception the failure of a step or of writing a page, after the pages scanned before
     *     it were written
     */
    static int run(ScanOptions options) throws Exception {
        // A trace that cannot be written costs a line on the standard error, and the scan goes on.
        if (options.trace != null) {
            Trace.start(options.trace.toAbsolutePath().toString());
        }
        try (ScanSession session = ScanSession.open("scanlink32", "Examples", "Scan");
                PageWriter writer = PageWriter.create(options)) {
            session.openSource();
            applySettings(session, options);
            PageListener listener = page -> print(page, writer.write(page));
            ScanResult result = options.feeder ? session.scanFeeder(options.pages, listener)
                                               : session.scan(options.pages, listener);
            writer.finish();
            switch (result.outcome()) {
                case FAILED -> throw result.failure();
                case FEEDER_EMPTY -> {
                    if (result.pageCount() == 0) {
                        throw new Exception("the document feeder is empty");
                    }
                    System.out.println("The feeder is empty.");
                }
                default -> {}
            }
            return result.pageCount();
        }
    }

    private static void applySettings(ScanSession session, ScanOptions options)
            throws TwainException {
        if (options.pixelType != null) {
            session.setPixelType(options.pixelType);
        }
        if (options.resolution != null) {
            session.setResolution(options.resolution);
        }
        if (options.frame != null) {
            session.setFrame(options.frame);
        }
        session.setShowUserInterface(options.showUi);
    }

    private static void print(Page page, String where) {
        System.out.printf("Page %d: %d x %d pixels, %s%n", page.number(), page.image().getWidth(),
                page.image().getHeight(), where);
    }
}
