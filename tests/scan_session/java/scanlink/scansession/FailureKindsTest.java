package scanlink.scansession;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertInstanceOf;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static scanlink.testsupport.Twain.*;

import QZ.korvel.twain.FailureKind;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TwainEx;
import QZ.korvel.twain.TwainException;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Waiting;
import scanlink.virtualscanner.VirtualScanner;

/** Each failure of a session carries the kind of failure a program acts on. */
@ExtendWith(CleanSession.class)
class FailureKindsTest {
    static ScanSession openWithSource() throws TwainException {
        ScanSession session = ScanSession.open("scanlink32", "Tests", "Failure kinds");
        session.openSource();
        session.setShowUserInterface(false);
        return session;
    }

    /** A scan whose page the source does not deliver, failing with these codes. */
    @ParameterizedTest(name = "result {0}, condition {1}: {2}")
    @CsvSource({
        "1, 20, PAPER_JAM",
        "1, 21, DOUBLE_FEED",
        "1, 29, FEEDER_EMPTY",
        "1, 23, DEVICE_OFFLINE",
        "1, 5, DEVICE_OFFLINE",
        "1, 3, NO_SUCH_SOURCE",
        "1, 6, CAPABILITY_UNSUPPORTED",
        "1, 13, CAPABILITY_UNSUPPORTED",
        "1, 14, CAPABILITY_UNSUPPORTED",
        "1, 10, VALUE_REFUSED",
        "1, 11, OUT_OF_SEQUENCE",
        "1, 2, OTHER",
        "1, 1, OTHER",
        "1, 24, OTHER",
        "1, 32768, OTHER",
        "3, 0, CANCELLED",
    })
    void aPageThatDoesNotComeFailsWithTheKindOfItsCodes(int result, int condition,
            FailureKind kind) throws Exception {
        try (ScanSession session = openWithSource()) {
            VirtualScanner.script(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, result, condition, 1);
            ScanResult scan = Waiting.scan("the scan", () -> session.scan(1));
            assertEquals(ScanResult.Outcome.FAILED, scan.outcome());
            TwainException failure = assertInstanceOf(TwainException.class, scan.failure());
            assertEquals(condition, failure.conditionCode());
            assertEquals(kind, failure.kind());
        }
    }

    @Test
    void aJamDuringTheTransferIsAPaperJam() throws Exception {
        try (ScanSession session = openWithSource()) {
            VirtualScanner.script(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, TWRC_FAILURE, 20, 1);
            ScanResult scan = Waiting.scan("the scan", () -> session.scan(1));
            TwainException failure = assertInstanceOf(TwainException.class, scan.failure());
            assertEquals("acquiring page 1", failure.step());
            assertEquals(FailureKind.PAPER_JAM, failure.kind());
            assertEquals(4, session.state());
        }
    }

    @Test
    void whatTheSourcesThemselvesRefuseHasItsKind() throws Exception {
        try (ScanSession session = openWithSource()) {
            assertEquals(FailureKind.CAPABILITY_UNSUPPORTED, assertThrows(TwainException.class,
                    () -> session.setDuplexEnabled(true)).kind());
            assertEquals(FailureKind.VALUE_REFUSED, assertThrows(TwainException.class,
                    () -> session.setPixelType(PixelType.CMYK)).kind());
            session.setFeederEnabled(true);
            // An empty tray: the feeder cannot bring a sheet in.
            assertEquals(FailureKind.FEEDER_EMPTY, assertThrows(TwainException.class,
                    () -> session.perform("feeding a sheet", TwainEx::feedPage)).kind());
            session.closeSource();
            assertEquals(FailureKind.NO_SUCH_SOURCE, assertThrows(TwainException.class,
                    () -> session.openSource("Flatbed 9000")).kind());
            VirtualScanner.script(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, TWRC_FAILURE, TWCC_NODS, 1);
            assertEquals(FailureKind.NO_SUCH_SOURCE,
                    assertThrows(TwainException.class, session::openSource).kind());
        }
    }
}
