package scanlink.scansession;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static scanlink.testsupport.Twain.*;

import QZ.korvel.twain.Capability;
import QZ.korvel.twain.FailureKind;
import QZ.korvel.twain.Frame;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TwainException;
import QZ.korvel.twain.Units;
import java.util.Arrays;
import java.util.List;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.params.provider.MethodSource;
import org.junit.jupiter.params.provider.ValueSource;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Waiting;
import scanlink.virtualscanner.VirtualScanner;
import scanlink.virtualscanner.VirtualScanner.Triplet;

/**
 * The typed setters answer what the source took, read back from it; they refuse what TWAIN cannot
 * carry before anything is sent; a frame goes to the 1/65536 of a unit.
 */
@ExtendWith(CleanSession.class)
class AppliedSettingsTest {
    static ScanSession open(String source) throws TwainException {
        ScanSession session = ScanSession.open("scanlink32", "Tests", "Applied settings");
        session.openSource(source);
        return session;
    }

    /** The edges of the last image layout sent, each as Whole and Frac. */
    static int[] sentFrame() {
        Triplet layout = VirtualScanner.logWithoutStatus().stream()
                .filter(t -> t.is(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET))
                .reduce((first, second) -> second).orElseThrow();
        int[] edges = new int[8];
        for (int i = 0; i < 8; i++) {
            int low = layout.data()[2 * i] & 0xFF;
            int high = layout.data()[2 * i + 1] & 0xFF;
            edges[i] = i % 2 == 0 ? (short) (low | high << 8) : low | high << 8;
        }
        return edges;
    }

    @ParameterizedTest(name = "{0}: {1} dpi asked, {2} taken")
    @CsvSource({
        "Virtual Scanner, 123, 100",
        "Virtual Scanner, 150, 150",
        "Virtual Scanner, 560, 600",
        "Virtual Scanner, 1, 75",
        "Virtual Duplex Feeder, 280, 300",
        "Virtual Duplex Feeder, 75, 100",
    })
    void aResolutionAnswersTheOneTheSourceTook(String source, double asked, double taken)
            throws Exception {
        VirtualScanner.setKnob("feeder.sheets", 1); // the duplex feeder scans nothing else
        try (ScanSession session = open(source)) {
            assertEquals(taken, session.setResolution(asked));
            assertEquals(taken, session.yResolution());
            session.setShowUserInterface(false);
            ScanResult result = Waiting.scan("one page", () -> session.scan(1));
            assertEquals(taken, result.pages().get(0).xResolution(), 1e-9);
        }
    }

    @ParameterizedTest(name = "{0} dpi")
    @ValueSource(doubles = {32768, 100000, 1e10, 0, -150, Double.NaN, Double.POSITIVE_INFINITY})
    void aResolutionNoTwainNumberCarriesIsRefusedBeforeAnythingIsSent(double dotsPerInch)
            throws Exception {
        try (ScanSession session = open("Virtual Scanner")) {
            VirtualScanner.reset();
            IllegalArgumentException e = assertThrows(IllegalArgumentException.class,
                    () -> session.setResolution(dotsPerInch));
            assertEquals("a resolution must be a positive number below 32768, not " + dotsPerInch,
                    e.getMessage());
            assertEquals(List.of(), Requests.sequence());
            assertEquals(100.0, session.xResolution());
        }
    }

    /** A source that reports another value than it was given: the setter answers the report. */
    @Test
    void eachTypedSetterAnswersWhatTheSourceReportsAfterTheSet() throws Exception {
        try (ScanSession session = open("Virtual Scanner")) {
            assertEquals(PixelType.GRAY, session.setPixelType(PixelType.GRAY));
            VirtualScanner.setKnob("ICAP_PIXELTYPE.item", TWPT_RGB);
            assertEquals(PixelType.RGB, session.setPixelType(PixelType.BW));

            assertEquals(true, session.setFeederEnabled(true));
            VirtualScanner.setKnob("CAP_FEEDERENABLED.item", 0);
            assertEquals(false, session.setFeederEnabled(true));

            assertEquals(false, session.setIndicators(false));
            VirtualScanner.setKnob("CAP_INDICATORS.item", 1);
            assertEquals(true, session.setIndicators(false));
        }
        try (ScanSession session = open("Virtual Duplex Feeder")) {
            assertEquals(true, session.setDuplexEnabled(true));
            VirtualScanner.setKnob("CAP_DUPLEXENABLED.item", 0);
            assertEquals(false, session.setDuplexEnabled(true));
            // Read only there: refused, with the kind a program can act on.
            TwainException e = assertThrows(TwainException.class,
                    () -> session.setFeederEnabled(false));
            assertEquals(FailureKind.CAPABILITY_UNSUPPORTED, e.kind());
        }
    }

    static Stream<Arguments> frames() {
        return Stream.of(
                // A frame inside the glass is taken as it is, fractions and all.
                Arguments.of(new Frame(0.5, 0.25, 4.5, 5.1, Units.INCHES),
                        new Frame(0.5, 0.25, 4.5, 5.1, Units.INCHES),
                        new int[] {0, 0x8000, 0, 0x4000, 4, 0x8000, 5, 6554}, 400, 485),
                // A4 on a letter glass: cut to it, and the setter says so.
                Arguments.of(new Frame(0, 0, 8.27, 11.69, Units.INCHES),
                        new Frame(0, 0, 8.27, 11, Units.INCHES),
                        new int[] {0, 0, 0, 0, 8, 17695, 11, 45220}, 827, 1100),
                Arguments.of(new Frame(0, 0, 210, 297, Units.MILLIMETERS),
                        new Frame(0, 0, 210, 279.4, Units.MILLIMETERS),
                        new int[] {0, 0, 0, 0, 210, 0, 297, 0}, 827, 1100));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource("frames")
    void aFrameGoesToTheFractionAndAnswersWhatTheSourceScans(Frame asked, Frame taken,
            int[] sentEdges, int width, int height) throws Exception {
        try (ScanSession session = open("Virtual Scanner")) {
            session.setShowUserInterface(false);
            assertEquals(taken, session.setFrame(asked));
            assertArrayEquals(sentEdges, sentFrame(), Arrays.toString(sentFrame()));
            ScanResult result = Waiting.scan("the frame", () -> session.scan(1));
            assertEquals(width, result.pages().get(0).image().getWidth());
            assertEquals(height, result.pages().get(0).image().getHeight());
        }
    }

    @Test
    void aRefusedFrameNamesTheFrameAndItsKind() throws Exception {
        try (ScanSession session = open("Virtual Scanner")) {
            TwainException e = assertThrows(TwainException.class,
                    () -> session.setFrame(new Frame(4, 4, 2.5, 6, Units.INCHES)));
            assertEquals("setting the scan frame to 4, 4, 2.5, 6 inches failed (TWAIN result code 1"
                    + " (TWRC_FAILURE), condition code 10 (TWCC_BADVALUE), state 4)",
                    e.getMessage());
            assertEquals(FailureKind.VALUE_REFUSED, e.kind());
        }
    }

    @ParameterizedTest(name = "{0}")
    @CsvSource({
        "0, 0, 8.27, 11.69, 'inches', '0, 0, 8.27, 11.69 inches'",
        "-0.25, 1e-6, 32767.99998, 1.00001, 'points', '-0.25, 0, 32767.99998, 1.00001 points'",
        "0.1, 0.3333333, 210, 297, 'millimeters', '0.1, 0.33333, 210, 297 millimeters'",
    })
    void aFrameReadsInTheFewestDecimalsOfItsFix32Edges(double left, double top, double right,
            double bottom, String units, String text) {
        Frame frame = new Frame(left, top, right, bottom, Units.valueOf(units.toUpperCase()));
        assertEquals(text, frame.toString());
    }

    @Test
    void framesAreEqualAsTheSourceReceivesThem() {
        Frame a4 = new Frame(0, 0, 8.27, 11.69, Units.INCHES);
        // 8.27 and this differ by less than half a 1/65536: the same TW_FIX32.
        Frame same = new Frame(0, 0, 8.27 + 0.4 / 65536, 11.69, Units.INCHES);
        assertEquals(a4, same);
        assertEquals(a4.hashCode(), same.hashCode());
        assertNotEquals(a4, new Frame(0, 0, 8.27 + 1.0 / 65536, 11.69, Units.INCHES));
        assertNotEquals(a4, new Frame(0, 0, 8.27, 11.69, Units.CENTIMETERS));
    }

    /** Without a source a setting is the program's mistake: nothing is sent, and no codes. */
    @ParameterizedTest(name = "{0}")
    @MethodSource("stepsThatNeedASource")
    void withoutASourceEveryStepThrowsIllegalStateAndSendsNothing(String name,
            SessionStep step, String message) throws Exception {
        try (ScanSession session = ScanSession.open("scanlink32", "Tests", "No source")) {
            VirtualScanner.reset();
            IllegalStateException e =
                    assertThrows(IllegalStateException.class, () -> step.run(session));
            assertEquals(message, e.getMessage());
            assertEquals(List.of(), Requests.sequence());
            assertEquals(3, session.state());
        }
    }

    interface SessionStep {
        void run(ScanSession session) throws Exception;
    }

    static Stream<Arguments> stepsThatNeedASource() {
        return Stream.of(
                step("pixel type", s -> s.setPixelType(PixelType.BW),
                        "setting the pixel type to BW: no source is open"),
                step("resolution", s -> s.setResolution(300),
                        "setting the units to inches: no source is open"),
                step("frame", s -> s.setFrame(new Frame(0, 0, 1, 1, Units.INCHES)),
                        "setting the units to inches: no source is open"),
                step("feeder", s -> s.setFeederEnabled(true),
                        "turning the document feeder on: no source is open"),
                step("duplex", s -> s.setDuplexEnabled(true),
                        "turning duplex on: no source is open"),
                step("reading", ScanSession::xResolution,
                        "reading the horizontal resolution: no source is open"),
                step("supported", s -> s.supported(Capability.ICAP_XRESOLUTION),
                        "reading the values of ICAP_XRESOLUTION (0x1118): no source is open"),
                step("scan", s -> s.scan(1), "starting the scan: no source is open"),
                step("feeder scan", s -> s.scanFeeder(), "starting the scan: no source is open"));
    }

    static Arguments step(String name, SessionStep step, String message) {
        return Arguments.of(name, step, message);
    }
}
