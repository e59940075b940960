package scanlink.scan;

import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TwainException;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;

/**
 * The settings of the command line, given to the source one by one. A source may refuse one, or
 * take another value than the one asked for (its nearest resolution, say); each such difference is
 * reported with what the source will really scan with, before anything is scanned.
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
            settings.refusable("the frame " + options.frame, () -> session.setFrame(options.frame));
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

    /** Runs a setting; a refusal is reported rather than thrown. False when it was refused. */
    private boolean refusable(String what, Step step) {
        try {
            step.run();
            return true;
        } catch (TwainException e) {
            differences.add("the source refused " + what + ": " + e.getMessage());
            return false;
        }
    }

    private void pixelType(PixelType asked) throws TwainException {
        refusable("the pixel type " + name(asked), () -> session.setPixelType(asked));
        PixelType scans = session.pixelType();
        if (scans != asked) {
            differences.add("the source scans " + name(scans) + ", not " + name(asked)
                    + " as asked");
        }
    }

    private void resolution(double asked) throws TwainException {
        refusable("the resolution " + dpi(asked), () -> session.setResolution(asked));
        double x = session.xResolution();
        double y = session.yResolution();
        if (x != asked || y != asked) {
            differences.add("the source scans at " + (x == y ? dpi(x) : dpi(x) + " x " + dpi(y))
                    + ", not " + dpi(asked) + " as asked");
        }
    }

    private void duplex() throws TwainException {
        if (refusable("duplex", () -> session.setDuplexEnabled(true))
                && !session.isDuplexEnabled()) {
            differences.add("the source scans one side only, not both as asked");
        }
    }

    private static String name(PixelType type) {
        return type.name().toLowerCase(Locale.ROOT);
    }

    private static String dpi(double value) {
        return (value == Math.rint(value) ? Long.toString((long) value) : Double.toString(value))
                + " dpi";
    }
}
