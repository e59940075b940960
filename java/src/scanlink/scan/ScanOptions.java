package scanlink.scan;

import QZ.korvel.twain.Compression;
import QZ.korvel.twain.Frame;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.TransferMode;
import QZ.korvel.twain.Units;
import java.nio.file.Path;
import java.util.Locale;

/** The command line of the scan program. */
final class ScanOptions {
    static final String USAGE = String.join(System.lineSeparator(),
            "Usage: scan [options] OUTPUT",
            "       scan --list-sources | --describe [--source NAME]",
            "       scan --check REPORT.html [--source NAME]",
            "Scans with the system's default TWAIN source, or the one named. The output's name says",
            "its format: OUTPUT.png writes one PNG file per page, OUTPUT.tif or OUTPUT.tiff one",
            "multi-page TIFF file, OUTPUT.pdf one PDF document with a page per scanned page. The",
            "output's folder is checked before anything is scanned, and each setting the source",
            "refuses or changes is reported with what it will really scan with.",
            "",
            "Options:",
            "  --list-sources       print the sources, one a line, product name first",
            "  --source NAME        scan with the source of that product name",
            "  --describe           print every capability the source supports, with its",
            "                       current, default and allowed values",
            "  --pages N            pages to scan at most (default 1 from the glass, from the",
            "                       feeder all it holds); with --duplex a sheet gives two. Page k",
            "                       of a PNG scan that may give more than one goes to",
            "                       OUTPUT-k.png",
            "  --resolution DPI     horizontal and vertical resolution, below 32768",
            "  --pixel-type TYPE    bw, gray or rgb",
            "  --frame L,T,R,B      scan area in inches, such as 0,0,8.27,11.69 for A4",
            "  --feeder             take the pages from the document feeder, until it is empty",
            "  --duplex             scan both sides of every sheet from the feeder, until it is",
            "                       empty",
            "  --transfer MODE      native, memory or file: how pages come from the source",
            "                       (default: memory when the source offers it, else native)",
            "  --compression KIND   none, jpeg or group4: pages the source compresses are kept",
            "                       as they came (JPEG and Group 4 go into a PDF unchanged)",
            "  --strict             scan nothing when the source refuses or changes a setting",
            "  --show-ui            let the source show its own dialog",
            "  --isolated           run the session in a bridge process, apart from this one",
            "  --trace FILE         append a trace of every request to the scanner to FILE,",
            "                       for a report when a scanner misbehaves",
            "  --check REPORT.html  check what the driver does, each step within 30 s, into",
            "                       REPORT.html and REPORT.txt, with the trace REPORT.trace",
            "                       beside them, to send with a bug report; exits with 1 when",
            "                       a check fails. Load the feeder, if any, with 20 sheets",
            "  --help               show this text");

    private static final int MAX_RESOLUTION = 32768;

    /** What the output file's name asks for. */
    enum Format {
        PNG,
        TIFF,
        PDF
    }

    Path output;
    Format format;
    /** The most pages to scan; null when not given. */
    Integer pages;
    Double resolution;
    PixelType pixelType;
    Frame frame;
    boolean feeder;
    boolean showUi;
    Path trace;
    boolean listSources;
    String source;
    boolean describe;
    boolean duplex;
    boolean strict;
    TransferMode transfer = TransferMode.AUTOMATIC;
    Compression compression;
    boolean isolated;
    Path check;

    /** Thrown for a command line that cannot be used; the message says why. */
    static final class UsageException extends Exception {
        UsageException(String message) {
            super(message);
        }
    }

    static ScanOptions parse(String[] args) throws UsageException {
        ScanOptions options = new ScanOptions();
        for (int i = 0; i < args.length; i++) {
            String arg = args[i];
            switch (arg) {
                case "--pages" -> options.pages = positive(value(args, ++i, arg), arg);
                case "--resolution" -> options.resolution = resolution(value(args, ++i, arg), arg);
                case "--pixel-type" -> options.pixelType = pixelType(value(args, ++i, arg));
                case "--frame" -> options.frame = frame(value(args, ++i, arg));
                case "--feeder" -> options.feeder = true;
                case "--show-ui" -> options.showUi = true;
                case "--trace" -> options.trace = Path.of(value(args, ++i, arg));
                case "--list-sources" -> options.listSources = true;
                case "--source" -> options.source = value(args, ++i, arg);
                case "--describe" -> options.describe = true;
                case "--duplex" -> options.duplex = true;
                case "--strict" -> options.strict = true;
                case "--transfer" -> options.transfer = transfer(value(args, ++i, arg));
                case "--compression" -> options.compression = compression(value(args, ++i, arg));
                case "--isolated" -> options.isolated = true;
                case "--check" -> options.check = checkReport(value(args, ++i, arg));
                default -> {
                    if (arg.startsWith("--") || options.output != null) {
                        throw new UsageException("unexpected argument: " + arg);
                    }
                    options.output = Path.of(arg);
                }
            }
        }
        if (options.check != null && options.output != null) {
            throw new UsageException("--check writes a report, not " + options.output);
        }
        if (options.output == null) {
            if (options.listSources || options.describe || options.check != null) {
                return options;
            }
            throw new UsageException("no output file given");
        }
        options.format = format(options.output);
        return options;
    }

    /**
     * The most pages to scan: as given, else all that the feeder holds, else the one page on the
     * glass.
     */
    int maxPages() {
        if (pages != null) {
            return pages;
        }
        return feeder || duplex ? Integer.MAX_VALUE : 1;
    }

    /** Where page {@code number} (from 1) of a PNG scan is written. */
    Path pageFile(int number) {
        if (maxPages() == 1) {
            return output;
        }
        String name = output.getFileName().toString();
        int dot = name.lastIndexOf('.');
        return output.resolveSibling(name.substring(0, dot) + "-" + number + name.substring(dot));
    }

    private static Format format(Path output) throws UsageException {
        String name = output.getFileName().toString().toLowerCase(Locale.ROOT);
        if (name.endsWith(".png")) {
            return Format.PNG;
        }
        if (name.endsWith(".tif") || name.endsWith(".tiff")) {
            return Format.TIFF;
        }
        if (name.endsWith(".pdf")) {
            return Format.PDF;
        }
        throw new UsageException("the output's name must end in .png, .tif, .tiff or .pdf: " + output);
    }

    private static Path checkReport(String name) throws UsageException {
        if (!name.toLowerCase(Locale.ROOT).endsWith(".html")) {
            throw new UsageException("--check needs a report whose name ends in .html, not " + name);
        }
        return Path.of(name);
    }

    private static String value(String[] args, int i, String option) throws UsageException {
        if (i >= args.length) {
            throw new UsageException(option + " needs a value");
        }
        return args[i];
    }

    private static double resolution(String text, String option) throws UsageException {
        try {
            double value = Double.parseDouble(text);
            // A TW_FIX32 holds no more.
            if (!(value > 0 && value < MAX_RESOLUTION)) {
                throw new NumberFormatException();
            }
            return value;
        } catch (NumberFormatException e) {
            throw new UsageException(
                    option + " needs a positive number below " + MAX_RESOLUTION + ", not " + text);
        }
    }

    private static int positive(String text, String option) throws UsageException {
        try {
            int value = Integer.parseInt(text);
            if (value < 1) {
                throw new NumberFormatException();
            }
            return value;
        } catch (NumberFormatException e) {
            throw new UsageException(option + " needs a whole number of at least 1, not " + text);
        }
    }

    private static TransferMode transfer(String text) throws UsageException {
        return switch (text) {
            case "native" -> TransferMode.NATIVE;
            case "memory" -> TransferMode.MEMORY;
            case "file" -> TransferMode.FILE;
            default -> throw new UsageException(
                    "--transfer is native, memory or file, not " + text);
        };
    }

    private static Compression compression(String text) throws UsageException {
        return switch (text) {
            case "none" -> Compression.NONE;
            case "jpeg" -> Compression.JPEG;
            case "group4" -> Compression.GROUP4;
            default -> throw new UsageException(
                    "--compression is none, jpeg or group4, not " + text);
        };
    }

    private static PixelType pixelType(String text) throws UsageException {
        return switch (text) {
            case "bw" -> PixelType.BW;
            case "gray" -> PixelType.GRAY;
            case "rgb" -> PixelType.RGB;
            default -> throw new UsageException("--pixel-type is bw, gray or rgb, not " + text);
        };
    }

    /** The frame in inches, to the 1/65536 of an inch that the source receives. */
    private static Frame frame(String text) throws UsageException {
        String[] parts = text.split(",");
        if (parts.length != 4) {
            throw new UsageException("--frame needs four numbers: left,top,right,bottom");
        }
        double[] edges = new double[4];
        for (int i = 0; i < 4; i++) {
            try {
                edges[i] = Double.parseDouble(parts[i].trim());
            } catch (NumberFormatException e) {
                throw new UsageException("--frame needs numbers, not " + parts[i]);
            }
        }
        try {
            return new Frame(edges[0], edges[1], edges[2], edges[3], Units.INCHES);
        } catch (IllegalArgumentException e) {
            throw new UsageException("--frame: " + e.getMessage());
        }
    }
}
