package scanlink.scan;

import java.nio.file.Path;

/** The command line of the scan program. */
final class ScanOptions {
    static final String USAGE = String.join(System.lineSeparator(),
            "Usage: scan [options] OUTPUT.png",
            "Scans with the system's default TWAIN source and writes each page as a PNG file.",
            "",
            "Options:",
            "  --pages N            pages to scan (default 1); with more than one, page k is",
            "                       written to OUTPUT-k.png",
            "  --resolution DPI     horizontal and vertical resolution",
            "  --pixel-type TYPE    bw, gray or rgb",
            "  --frame L,T,R,B      scan area in whole units of the source (inches unless",
            "                       changed); fractions are cut",
            "  --feeder             take the pages from the document feeder",
            "  --show-ui            let the source show its own dialog",
            "  --help               show this text");

    Path output;
    int pages = 1;
    Double resolution;
    Short pixelType;
    double[] frame;
    boolean feeder;
    boolean showUi;

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
                case "--resolution" -> options.resolution = number(value(args, ++i, arg), arg);
                case "--pixel-type" -> options.pixelType = pixelType(value(args, ++i, arg));
                case "--frame" -> options.frame = frame(value(args, ++i, arg));
                case "--feeder" -> options.feeder = true;
                case "--show-ui" -> options.showUi = true;
                default -> {
                    if (arg.startsWith("--") || options.output != null) {
                        throw new UsageException("unexpected argument: " + arg);
                    }
                    options.output = Path.of(arg);
                }
            }
        }
        if (options.output == null) {
            throw new UsageException("no output file given");
        }
        return options;
    }

    /** Where page {@code number} (from 1) is written. */
    Path pageFile(int number) {
        if (pages == 1) {
            return output;
        }
        String name = output.getFileName().toString();
        int dot = name.lastIndexOf('.');
        String stem = dot > 0 ? name.substring(0, dot) : name;
        String extension = dot > 0 ? name.substring(dot) : ".png";
        return output.resolveSibling(stem + "-" + number + extension);
    }

    private static String value(String[] args, int i, String option) throws UsageException {
        if (i >= args.length) {
            throw new UsageException(option + " needs a value");
        }
        return args[i];
    }

    private static double number(String text, String option) throws UsageException {
        try {
            double value = Double.parseDouble(text);
            if (!(value > 0) || Double.isInfinite(value)) {
                throw new NumberFormatException();
            }
            return value;
        } catch (NumberFormatException e) {
            throw new UsageException(option + " needs a positive number, not " + text);
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

    private static short pixelType(String text) throws UsageException {
        return switch (text) {
            case "bw" -> 0;
            case "gray" -> 1;
            case "rgb" -> 2;
            default -> throw new UsageException("--pixel-type is bw, gray or rgb, not " + text);
        };
    }

    private static double[] frame(String text) throws UsageException {
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
        return edges;
    }
}
