package scanlink.bridge;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.Capability;
import QZ.korvel.twain.Frame;
import QZ.korvel.twain.Page;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.SourceIdentity;
import QZ.korvel.twain.TransferMode;
import QZ.korvel.twain.TwainEx;
import QZ.korvel.twain.TwainException;
import QZ.korvel.twain.Units;
import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.params.provider.EnumSource;
import scanlink.testsupport.Pages;
import scanlink.testsupport.Waiting;

/**
 * An isolated session answers as the same session in this process does: the same sources, the
 * same settings taken, the same pages pixel for pixel, the same sides, the same cancel.
 */
class IsolatedSessionTest {
    /** What a session does, the same way in either place. */
    private interface Steps<T> {
        T run(ScanSession session) throws Exception;
    }

    private static <T> List<T> inBoth(Steps<T> steps) throws Exception {
        List<T> answers = new ArrayList<>();
        for (boolean isolated : new boolean[] {true, false}) {
            try (ScanSession session = isolated ? Bridges.isolated() : Bridges.inProcess()) {
                assertEquals(isolated, session.isBridged());
                answers.add(steps.run(session));
            }
        }
        return answers;
    }

    @AfterEach
    void noBridgeIsLeft() {
        Bridges.assertNoneLeft();
    }

    @ParameterizedTest
    @EnumSource(value = PixelType.class, names = {"BW", "GRAY", "RGB"})
    void pagesAreThoseOfTheSessionInThisProcess(PixelType type) throws Exception {
        List<Page> pages = inBoth(session -> {
            session.openSource();
            session.setShowUserInterface(false);
            assertEquals(type, session.setPixelType(type));
            ScanResult result = Waiting.scan("a page of " + type, () -> session.scan(1));
            assertEquals(ScanResult.Outcome.COMPLETE, result.outcome(), String.valueOf(result.failure()));
            return result.pages().get(0);
        });
        assertEquals(pages.get(1).image().getType(), pages.get(0).image().getType());
        assertArrayEquals(Pages.rgb(pages.get(1).image()), Pages.rgb(pages.get(0).image()));
        assertEquals(pages.get(1).xResolution(), pages.get(0).xResolution());
    }

    @Test
    void settingsAnswerWhatTheSourceTook() throws Exception {
        List<String> answers = inBoth(session -> {
            session.openSource();
            return session.setResolution(123) + " " + session.supported(Capability.ICAP_XRESOLUTION)
                    + " " + session.setFrame(new Frame(0, 0, 8.27, 11.69, Units.INCHES)) + " "
                    + session.current(Capability.ICAP_PIXELTYPE) + " " + session.isFeederEnabled();
        });
        assertEquals(answers.get(1), answers.get(0));
    }

    @Test
    void duplexPagesTellTheirSides() throws Exception {
        List<String> sides = inBoth(session -> {
            session.openSource("Virtual Duplex Feeder");
            session.setShowUserInterface(false);
            session.setDuplexEnabled(true);
            ScanResult result = Waiting.scan("a duplex run", () -> session.scanFeeder(4));
            StringBuilder seen = new StringBuilder(result.outcome().toString());
            for (Page page : result.pages()) {
                seen.append(' ').append(page.side());
            }
            return seen.toString();
        });
        assertEquals("COMPLETE FRONT BACK FRONT BACK", sides.get(0));
        assertEquals(sides.get(1), sides.get(0));
    }

    /** The same sources but for the Id, which each manager hands out as it counts sessions. */
    @Test
    void sourcesAreListedWithTheirWidth() throws Exception {
        List<String> sources = inBoth(session -> {
            StringBuilder listed = new StringBuilder();
            for (SourceIdentity source : session.sources()) {
                assertEquals(64, source.bits());
                listed.append(source).append(' ').append(source.language()).append(' ')
                        .append(source.country()).append('\n');
            }
            return listed.toString();
        });
        assertEquals(sources.get(1), sources.get(0));
    }

    @Test
    void aCancelEndsTheScanAndKeepsTheSession() throws Exception {
        try (ScanSession session = Bridges.isolated()) {
            session.openSource();
            session.setShowUserInterface(false);
            ScanResult result = Waiting.scan("a feeder run cancelled at page 2",
                    () -> session.scanFeeder(1000, page -> {
                        if (page.number() == 2) {
                            session.cancel();
                        }
                    }));
            assertEquals(ScanResult.Outcome.CANCELLED, result.outcome());
            assertTrue(result.pageCount() >= 2, "pages: " + result.pageCount());
            assertEquals(4, session.state());
            assertEquals(1, Waiting.scan("a page after the cancel", () -> session.scan(1)).pageCount());
        }
    }

    @Test
    void rawCallsAreRefusedSinceTheyRunInThisProcess() throws Exception {
        try (ScanSession session = Bridges.isolated()) {
            assertThrows(UnsupportedOperationException.class, () -> session.call(TwainEx::getState));
            assertThrows(UnsupportedOperationException.class,
                    () -> session.perform("opening", TwainEx::openSource));
        }
    }

    @Test
    void stepsFailAsTheyDoInThisProcess() throws Exception {
        List<String> failures = inBoth(session -> {
            TwainException missing = assertThrows(TwainException.class,
                    () -> session.openSource("Flatbed 9000"));
            IllegalStateException early = assertThrows(IllegalStateException.class,
                    () -> session.setPixelType(PixelType.GRAY));
            return missing.getMessage() + " " + missing.kind() + " / " + early.getMessage();
        });
        assertEquals(failures.get(1), failures.get(0));
    }

    /**
     * The bridge's channel carries native pages only: a scan left to choose takes them natively,
     * and one asked for another transfer fails before its first page, naming why, and the
     * session stays usable.
     */
    @ParameterizedTest
    @CsvSource({"AUTOMATIC, COMPLETE", "NATIVE, COMPLETE", "MEMORY, FAILED", "FILE, FAILED"})
    void pagesComeNativelyThroughTheBridge(TransferMode mode, ScanResult.Outcome outcome)
            throws Exception {
        try (ScanSession session = Bridges.isolated()) {
            session.openSource();
            session.setShowUserInterface(false);
            session.setTransferMode(mode);
            ScanResult result = Waiting.scan("a page by " + mode, () -> session.scan(1));
            assertEquals(outcome, result.outcome(), String.valueOf(result.failure()));
            if (outcome == ScanResult.Outcome.COMPLETE) {
                assertEquals(TransferMode.NATIVE, result.pages().get(0).transfer());
            } else {
                assertEquals(0, result.pageCount());
                assertTrue(result.failure().getMessage().contains("native transfer only"),
                        result.failure().getMessage());
                assertEquals(4, session.state());
            }
        }
    }
}
