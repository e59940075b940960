package scanlink.scan.check;

import QZ.korvel.twain.Capability;
import QZ.korvel.twain.Frame;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.Supported;
import QZ.korvel.twain.TwainEx;
import QZ.korvel.twain.Units;
import java.util.ArrayList;
import java.util.List;

/**
 * The common settings set and read back: each pixel type and resolution the source allows, a frame
 * inside its glass, and CAP_XFERCOUNT 1 and -1. Each setting is put back afterwards.
 */
final class SettingsChecks {
    /** Resolutions tried of a long list or a range: its ends and some between. */
    private static final int MAX_RESOLUTIONS = 8;

    private SettingsChecks() {}

    static void run(Checks checks, List<Capability> listed) {
        ScanSession session = checks.session();
        if (has(listed, Capability.ICAP_PIXELTYPE)) {
            checks.check("setting ICAP_PIXELTYPE", check -> pixelTypes(checks, session, check));
        }
        if (has(listed, Capability.ICAP_XRESOLUTION)) {
            checks.check("setting the resolution", check -> resolutions(checks, session, check));
        }
        checks.check("setting the frame", check -> frame(checks, session, check));
        checks.check("setting CAP_XFERCOUNT", check -> {
            for (int count : new int[] {1, -1}) {
                Steps.Outcome<Object> read = checks.steps().run("setting CAP_XFERCOUNT to " + count,
                        () -> {
                            session.set(Capability.CAP_XFERCOUNT, count);
                            return session.current(Capability.CAP_XFERCOUNT).current();
                        });
                readBack(check, read, "CAP_XFERCOUNT " + count, count);
            }
        });
    }

    static boolean has(List<Capability> listed, Capability capability) {
        return listed.stream().anyMatch(c -> c.id() == capability.id());
    }

    private static void pixelTypes(Checks checks, ScanSession session, CheckResult check)
            throws Exception {
        PixelType original = checks.steps().require("reading ICAP_PIXELTYPE",
                session::pixelType, check);
        for (PixelType type : PixelTypes.allowed(checks, check)) {
            Steps.Outcome<List<PixelType>> set = checks.steps().run("setting ICAP_PIXELTYPE to "
                    + type, () -> List.of(session.setPixelType(type), session.pixelType()));
            readBack(check, set, "the pixel type " + type, List.of(type, type));
        }
        checks.steps().run("putting ICAP_PIXELTYPE back", () -> session.setPixelType(original));
    }

    private static void resolutions(Checks checks, ScanSession session, CheckResult check)
            throws Exception {
        Supported x = checks.steps().require("reading ICAP_XRESOLUTION",
                () -> session.supported(Capability.ICAP_XRESOLUTION), check);
        double original = checks.steps().require("reading the resolution", session::xResolution,
                check);
        for (double dpi : tried(x)) {
            Steps.Outcome<List<Double>> set = checks.steps().run("setting the resolution to " + dpi,
                    () -> List.of(session.setResolution(dpi), session.yResolution()));
            readBack(check, set, dpi + " dpi across and down", List.of(dpi, dpi));
        }
        checks.steps().run("putting the resolution back", () -> session.setResolution(original));
    }

    /** Resolutions the source allows, in dots per inch as ICAP_UNITS inches gives them. */
    private static List<Double> tried(Supported x) {
        List<Double> values = new ArrayList<>();
        if (x.isRange()) {
            double min = ((Number) x.min()).doubleValue();
            double max = ((Number) x.max()).doubleValue();
            double step = ((Number) x.step()).doubleValue();
            values.add(min);
            if (step > 0 && max > min) {
                values.add(min + Math.floor((max - min) / 2 / step) * step);
                values.add(max);
            }
        } else {
            List<Object> listed = x.values();
            int every = Math.max(1, (listed.size() + MAX_RESOLUTIONS - 1) / MAX_RESOLUTIONS);
            for (int i = 0; i < listed.size(); i += every) {
                values.add(((Number) listed.get(i)).doubleValue());
            }
        }
        values.removeIf(dpi -> !(dpi > 0 && dpi < 32768));
        return values;
    }

    private static void frame(Checks checks, ScanSession session, CheckResult check)
            throws Exception {
        double[] glass = checks.steps().require("reading the glass's size in inches", () ->
                session.call(() -> TwainEx.setCurrentUnits(Units.INCHES.code())
                        ? new double[] {TwainEx.getPhysicalWidth(), TwainEx.getPhysicalHeight()}
                        : null), check);
        if (glass == null || !(glass[0] > 1) || !(glass[1] > 1)) {
            check.add(new Finding(Verdict.FAIL, "the source tells no glass of at least an inch each "
                    + "way in ICAP_PHYSICALWIDTH and ICAP_PHYSICALHEIGHT", checks.steps().triplets()));
            return;
        }
        Frame inside = new Frame(0.5, 0.5, Math.min(4, glass[0] - 0.25),
                Math.min(5, glass[1] - 0.25), Units.INCHES);
        Steps.Outcome<Frame> set = checks.steps().run("setting the frame " + inside,
                () -> session.setFrame(inside));
        readBack(check, set, "the frame " + inside, inside);
        checks.steps().run("putting the whole glass back as the frame", () -> session.setFrame(
                new Frame(0, 0, glass[0], glass[1], Units.INCHES)));
    }

    /** A PASS when the source took what was asked and tells it back, a FAIL otherwise. */
    static void readBack(CheckResult check, Steps.Outcome<?> outcome, String asked,
            Object expected) {
        if (outcome.failed()) {
            check.add(new Finding(Verdict.FAIL, "setting " + asked + " failed: "
                    + Steps.message(outcome.failure()), outcome.triplets()));
        } else if (!sameValue(outcome.value(), expected)) {
            check.add(new Finding(Verdict.FAIL, "asked " + asked + ", the source tells "
                    + outcome.value(), outcome.triplets()));
        } else {
            check.add(new Finding(Verdict.PASS, asked + " set and read back in "
                    + outcome.millis() + " ms", outcome.triplets()));
        }
    }

    private static boolean sameValue(Object value, Object expected) {
        if (value instanceof List && expected instanceof List) {
            List<?> a = (List<?>) value;
            List<?> b = (List<?>) expected;
            if (a.size() != b.size()) {
                return false;
            }
            for (int i = 0; i < a.size(); i++) {
                if (!Values.same(a.get(i), b.get(i))) {
                    return false;
                }
            }
            return true;
        }
        return Values.same(value, expected);
    }
}
