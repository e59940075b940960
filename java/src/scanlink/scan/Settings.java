package scanlink.scan;

import QZ.korvel.twain.Frame;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TwainException;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;

/**
 * The settings of the command line, given to the source one by one. A source may refuse one, or
 * take another value than the one asked for (its nearest resolution, a frame cut to its glass);
 * each setter answers what the source took, and each difference is reported with what the source
 * will really scan with, before anything is scanned.
 */
final class Settings {
    private final ScanSession session;
    private final List<String> differences = new ArrayList<>();

    private Settings(ScanSession session) {
        this.session = session;
    }

    /** Applies the options' settings; what the source did not take as asked, a line each. */
    static List<String> apply(ScanSession session, ScanOptions options) throws TwainException {
        Settings settings = new Settings(session);
        if (options.pixelType != null) {
            settings.pixelType(options.pixelType);
        }
        if (options.resolution != null) {
            settings.resolution(options.resolution);
        }
        if (options.frame != null) {
            settings.frame(options.frame);
        }
        if (options.duplex) {
            settings.duplex();
        }
        session.setShowUserInterface(options.showUi);
        return settings.differences;
    }

    private interface Step {
        void run() throws TwainException;
    }

    /** Runs a setting; a refusal is reported rather than thrown. */
    private void refusable(String what, Step step) {
        try {
            step.run();
        } catch (TwainException e) {
            differences.add("the source refused " + what + ": " + e.getMessage());
        }
    }

    private void pixelType(PixelType asked) {
        refusable("the pixel type " + name(asked), () -> {
            PixelType scans = session.setPixelType(asked);
            if (scans != asked) {
                differences.add(
                        "the source scans " + name(scans) + ", not " + name(asked) + " as asked");
            }
        });
    }

    private void resolution(double asked) {
        refusable("the resolution " + dpi(asked), () -> {
            double x = session.setResolution(asked);
            double y = session.yResolution();
            if (x != asked || y != asked) {
                differences.add("the source scans at "
                        + (x == y ? dpi(x) : dpi(x) + " x " + dpi(y)) + ", not " + dpi(asked)
                        + " as asked");
            }
        });
    }

    private void frame(Frame asked) {
        refusable("the frame " + asked, () -> {
            Frame scans = session.setFrame(asked);
            if (scans == null) {
                differences.add("the source does not tell which frame it scans, asked " + asked);
            } else if (!scans.equals(asked)) {
                differences.add("the source scans the frame " + scans + ", not " + asked
                        + " as asked");
            }
        });
    }

    private void duplex() {
        refusable("duplex", () -> {
            if (!session.setDuplexEnabled(true)) {
                differences.add("the source scans one side only, not both as asked");
            }
        });
    }

    private static String name(PixelType type) {
        return type.name().toLowerCase(Locale.ROOT);
    }

    private static String dpi(double value) {
        return (value == Math.rint(value) ? Long.toString((long) value) : Double.toString(value))
                + " dpi";
    }
}
