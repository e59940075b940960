package scanlink.scan;

import QZ.korvel.twain.Capability;
import QZ.korvel.twain.Page;
import QZ.korvel.twain.PageListener;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.SessionOption;
import QZ.korvel.twain.SourceIdentity;
import QZ.korvel.twain.Trace;
import QZ.korvel.twain.TwainException;
import scanlink.scan.check.DriverCheck;
import java.util.List;
import java.util.Locale;
import java.util.Set;
import java.util.TreeSet;

/**
 * Scans pages with a TWAIN source into PNG files, a TIFF file or a PDF document; lists the sources
 * and describes what a source supports.
 *
 * <p>The output is checked before anything is scanned, and each setting the source refuses or
 * changes is reported, with what it will really scan with; {@code --strict} stops there.
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
            System.err.println("scan: " + e.getMessage() + " (scan --help lists the options)");
            System.exit(2);
            return;
        }
        if (options.check != null) {
            check(options);
            return;
        }
        try {
            Scanned scanned = new Scanned();
            run(options, scanned);
            if (options.output != null) {
                System.out.println(scanned.report());
            }
        } catch (Exception e) {
            System.err.println("scan: " + e.getMessage());
            System.exit(1);
        }
    }

    /** How many pages were written, and how they came from the source. */
    static final class Scanned {
        int count;
        final Set<String> ways = new TreeSet<>();

        /** "Scanned 2 pages by memory transfer.", "Scanned 1 page by file transfer (JPEG).", ... */
        String report() {
            return "Scanned " + count + (count == 1 ? " page" : " pages")
                    + (ways.isEmpty() ? "" : " by " + String.join(" and ", ways)) + ".";
        }
    }

    /** Runs the whole scan, as below; the number of pages written. */
    static int run(ScanOptions options) throws Exception {
        Scanned scanned = new Scanned();
        run(options, scanned);
        return scanned.count;
    }

    /** The driver check: its status says whether a check failed. */
    private static void check(ScanOptions options) {
        try {
            OutputCheck.check(options.check);
            System.exit(DriverCheck.run(options.check, options.source, System.out) ? 1 : 0);
        } catch (Exception e) {
            System.err.println("scan: " + e.getMessage());
            System.exit(1);
        }
    }

    /**
     * Runs the whole scan, from opening the session to closing it, telling {@code scanned} of the
     * pages written.
     *
     * @throws Exception the failure of a step or of writing a page, after the pages scanned before
     *     it were written
     */
    static void run(ScanOptions options, Scanned scanned) throws Exception {
        if (options.output != null) {
            OutputCheck.check(options.output);
        }
        // A trace that cannot be written costs a line on the standard error, and the scan goes on.
        if (options.trace != null) {
            Trace.start(options.trace.toAbsolutePath().toString());
        }
        SessionOption[] sessionOptions = options.isolated
                ? new SessionOption[] {SessionOption.ISOLATED} : new SessionOption[0];
        try (ScanSession session =
                        ScanSession.open("scanlink32", "Examples", "Scan", sessionOptions)) {
            if (options.listSources) {
                for (SourceIdentity source : session.sources()) {
                    System.out.println(line(source));
                }
            }
            if (options.output == null && !options.describe) {
                return;
            }
            if (options.source != null) {
                session.openSource(options.source);
            } else {
                session.openSource();
            }
            if (options.describe) {
                describe(session);
            }
            if (options.output == null) {
                return;
            }
            List<String> differences = Settings.apply(session, options);
            for (String difference : differences) {
                System.err.println("scan: " + difference);
            }
            if (options.strict && !differences.isEmpty()) {
                throw new Exception(
                        "nothing was scanned: the source does not scan as asked (--strict)");
            }
            scan(session, options, scanned);
        }
    }

    private static void scan(ScanSession session, ScanOptions options, Scanned scanned)
            throws Exception {
        try (PageWriter writer = PageWriter.create(options)) {
            PageListener listener = page -> {
                print(page, writer.write(page));
                scanned.ways.add(way(page));
            };
            ScanResult result = options.feeder || options.duplex
                    ? session.scanFeeder(options.maxPages(), listener)
                    : session.scan(options.maxPages(), listener);
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
            scanned.count = result.pageCount();
        }
    }

    /** "memory transfer", "file transfer (JPEG)": how the page came. */
    private static String way(Page page) {
        String way = page.transfer().name().toLowerCase(Locale.ROOT) + " transfer";
        return page.encoded() != null ? way + " (" + page.encoded().format() + ")" : way;
    }

    /** A source on one line, its product name first. */
    static String line(SourceIdentity source) {
        return source.productName() + "  (" + source.manufacturer() + ", "
                + source.productFamily() + ", version " + source.version() + ", protocol "
                + source.protocolVersion() + ")";
    }

    /** Every capability the open source lists as supported, a line each. */
    private static void describe(ScanSession session) throws TwainException {
        for (Object id : session.current(Capability.CAP_SUPPORTEDCAPS).values()) {
            Capability capability = Capability.of(((Number) id).intValue());
            try {
                System.out.println(session.supported(capability));
            } catch (TwainException e) {
                System.out.println(capability + ": " + e.getMessage());
            }
        }
    }

    private static void print(Page page, String where) {
        System.out.printf("Page %d: %d x %d pixels, %s%n", page.number(), page.image().getWidth(),
                page.image().getHeight(), where);
    }
}
