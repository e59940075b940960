package scanlink.scansession;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotSame;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Pages.assertIsTheExpectedPage;
import static scanlink.testsupport.Twain.*;

import QZ.korvel.twain.Frame;
import QZ.korvel.twain.Page;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TwainEx;
import QZ.korvel.twain.TwainException;
import QZ.korvel.twain.Units;
import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Waiting;
import scanlink.virtualscanner.VirtualScanner;
import scanlink.virtualscanner.VirtualScanner.Triplet;

/** The session's life, its thread, its typed settings and how its failures read. */
@ExtendWith(CleanSession.class)
class ScanSessionTest {
    static ScanSession open() throws TwainException {
        return ScanSession.open("scanlink32", "Tests", "Session");
    }

    @Test
    void everyCallRunsOnTheSessionsOwnThreadWhichEndsWithTheSession() throws Exception {
        Thread sessionThread;
        try (ScanSession session = open()) {
            assertEquals(3, session.state());
            sessionThread = session.call(Thread::currentThread);
            assertNotSame(Thread.currentThread(), sessionThread);
            assertSame(sessionThread, session.call(Thread::currentThread));
            assertTrue(sessionThread.isDaemon());
            session.openSource();
            assertEquals(4, session.state());
        }
        assertEquals(1, TwainEx.getState());
        assertEquals(0, VirtualScanner.liveWindows());
        sessionThread.join(scanlink.testsupport.Waiting.BOUND_MILLIS);
        assertFalse(sessionThread.isAlive());
    }

    @Test
    void aClosedSessionRefusesCallsAndClosesAgainQuietly() throws Exception {
        ScanSession session = open();
        session.close();
        IllegalStateException e = assertThrows(IllegalStateException.class, session::openSource);
        assertEquals("the scan session is closed", e.getMessage());
        assertThrows(IllegalStateException.class, () -> session.call(TwainEx::getState));
        assertThrows(IllegalStateException.class, () -> session.scan(1));
        session.close();
    }

    @Test
    void onlyOneSessionIsOpenAtATime() throws Exception {
        try (ScanSession first = open()) {
            IllegalStateException e = assertThrows(IllegalStateException.class, () -> open());
            assertTrue(e.getMessage().startsWith("a ScanSession is already open in this process"),
                    e.getMessage());
            assertEquals(3, first.state());
        }
        try (ScanSession second = open()) {
            assertEquals(3, second.state());
        }
    }

    @Test
    void aFailedOpenNamesItsStepAndLeavesNothingOpen() throws Exception {
        VirtualScanner.script(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, TWRC_FAILURE, 0, 1);
        TwainException e = assertThrows(TwainException.class, () -> open());
        assertEquals("opening the TWAIN source manager failed (TWAIN result code 1 (TWRC_FAILURE),"
                + " condition code 1 (TWCC_BUMMER), state 2)", e.getMessage());
        assertEquals("opening the TWAIN source manager", e.step());
        assertEquals(TWRC_FAILURE, e.resultCode());
        assertEquals("TWRC_FAILURE", e.resultName());
        assertEquals(TWCC_BUMMER, e.conditionCode());
        assertEquals("TWCC_BUMMER", e.conditionName());
        assertEquals(2, e.state());
        assertEquals(1, TwainEx.getState());
        try (ScanSession session = open()) {
            assertEquals(3, session.state());
        }
    }

    @Test
    void typedSettingsReachTheSourceAndReadBack() throws Exception {
        try (ScanSession session = open()) {
            session.openSource();
            session.setPixelType(PixelType.GRAY);
            assertEquals(PixelType.GRAY, session.pixelType());
            session.setResolution(150);
            assertEquals(150.0, session.xResolution());
            assertEquals(150.0, session.yResolution());
            session.setFrame(new Frame(10, 20, 110, 80, Units.MILLIMETERS));
            // In millimeters now, the source reports dots per millimeter; the session, per inch.
            assertEquals(150.0, session.xResolution(), 1e-3);
            session.setFeederEnabled(true);
            assertTrue(session.isFeederEnabled());
            assertFalse(session.isFeederLoaded());
            session.setFeederEnabled(false);
            assertFalse(session.isFeederEnabled());
            session.setShowUserInterface(false);
            assertFalse(session.call(TwainEx::getVisible));

            assertEquals(List.of(PixelType.GRAY.code()), Requests.sets(ICAP_PIXELTYPE).stream()
                    .map(t -> (short) Requests.item16(t)).toList());
            assertEquals(List.of((int) Units.INCHES.code(), (int) Units.MILLIMETERS.code()),
                    Requests.sets(ICAP_UNITS).stream().map(Requests::item16).toList());
            Triplet layout = VirtualScanner.logWithoutStatus().stream()
                    .filter(t -> t.is(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET)).findFirst().orElseThrow();
            // Left, top, right, bottom: each a TW_FIX32 of whole millimeters.
            assertArrayEquals(new byte[] {10, 0, 0, 0, 20, 0, 0, 0, 110, 0, 0, 0, 80, 0, 0, 0},
                    Arrays.copyOf(layout.data(), 16));

            ScanResult result = Waiting.scan("the scan with typed settings",
                    () -> session.scan(1));
            assertEquals(ScanResult.Outcome.COMPLETE, result.outcome());
            Page page = result.pages().get(0);
            assertEquals(150.0, page.xResolution(), 1e-3);
            assertEquals(150.0, page.yResolution(), 1e-3);
            assertIsTheExpectedPage(page.image());
            assertEquals(Math.round(100 / 25.4 * 150), page.image().getWidth());
        }
    }

    @Test
    void aRefusedSettingNamesTheStepTheCodesAndTheState() throws Exception {
        try (ScanSession session = open()) {
            IllegalStateException early = assertThrows(IllegalStateException.class,
                    () -> session.setPixelType(PixelType.GRAY));
            assertEquals("setting the pixel type to GRAY: no source is open", early.getMessage());
            assertEquals(3, session.state());
            session.openSource();
            TwainException refused = assertThrows(TwainException.class,
                    () -> session.setPixelType(PixelType.CMYK));
            assertEquals("setting the pixel type to CMYK failed (TWAIN result code 1 "
                    + "(TWRC_FAILURE), condition code 10 (TWCC_BADVALUE), state 4)",
                    refused.getMessage());
            VirtualScanner.setKnob("ICAP_PIXELTYPE.unsupported", 1);
            TwainException unread = assertThrows(TwainException.class, session::pixelType);
            assertEquals("reading the pixel type", unread.step());
            assertEquals("TWCC_CAPUNSUPPORTED", unread.conditionName());
            assertEquals(4, session.state());
        }
    }

    @Test
    void valuesThatNoSourceCouldTakeAreRefusedBeforeTheyAreSent() throws Exception {
        assertThrows(IllegalArgumentException.class, () -> new Frame(0, 0, 40000, 1, Units.POINTS));
        assertThrows(IllegalArgumentException.class, () -> new Frame(0, 0, 1, 1, Units.PIXELS));
        assertThrows(IllegalArgumentException.class,
                () -> new Frame(0, 0, Double.NaN, 1, Units.INCHES));
        new Frame(-32768, 0, 32767.99998, 1, Units.TWIPS); // the edges of what a frame holds
        try (ScanSession session = open()) {
            session.openSource();
            VirtualScanner.reset();
            assertThrows(IllegalArgumentException.class, () -> session.setResolution(0));
            assertThrows(IllegalArgumentException.class,
                    () -> session.setResolution(Double.POSITIVE_INFINITY));
            assertThrows(IllegalArgumentException.class, () -> session.scan(0));
            assertEquals(List.of(), Requests.sequence());
        }
    }

    @Test
    void anyStepOfTheRawInterfaceRunsOnTheSessionThread() throws Exception {
        try (ScanSession session = open()) {
            session.openSource();
            session.perform("setting the contrast", () -> TwainEx.setContrast(20));
            assertEquals(20.0, session.call(TwainEx::getContrast));
            TwainException e = assertThrows(TwainException.class,
                    () -> session.perform("setting the contrast", () -> TwainEx.setContrast(5000)));
            assertEquals("setting the contrast", e.step());
            assertEquals(TWCC_BADVALUE, e.conditionCode());
        }
    }

    @Test
    void choosingASourceTellsACancelledDialogFromAFailure() throws Exception {
        try (ScanSession session = open()) {
            assertTrue(session.selectSource());
            VirtualScanner.script(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, TWRC_CANCEL, 0, 1);
            assertFalse(session.selectSource());
            VirtualScanner.script(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, TWRC_FAILURE,
                    TWCC_LOWMEMORY, 1);
            TwainException failed = assertThrows(TwainException.class, session::selectSource);
            assertEquals("TWCC_LOWMEMORY", failed.conditionName());
            session.openSource();
            IllegalStateException open =
                    assertThrows(IllegalStateException.class, session::selectSource);
            assertEquals("choosing the source: a source is open", open.getMessage());
            session.closeSource();
            assertEquals(3, session.state());
        }
    }
}
