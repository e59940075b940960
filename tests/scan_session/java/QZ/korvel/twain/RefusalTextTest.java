package QZ.korvel.twain;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;

import java.util.concurrent.atomic.AtomicBoolean;
import java.util.concurrent.atomic.AtomicReference;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import scanlink.virtualscanner.VirtualScanner;

/**
 * A call that the library refuses shows in the session's exception with the library's reason,
 * where the loaded library tells one; and the frame's native refuses edges no TW_FIX32 carries.
 */
@ExtendWith(CleanSession.class)
class RefusalTextTest {
    /** Runs a step of TwainEx on a thread of its own, which is not the session's owner. */
    static boolean onAnotherThread(java.util.function.BooleanSupplier step) {
        AtomicBoolean answer = new AtomicBoolean();
        Thread thread = new Thread(() -> answer.set(step.getAsBoolean()), "not the owner");
        thread.start();
        try {
            thread.join();
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
        return answer.get();
    }

    @Test
    void aRefusedCallSaysWhyAfterItsStepWhenTheLibraryTellsIt() throws Exception {
        try (ScanSession session = ScanSession.open("scanlink32", "Tests", "Refusals")) {
            VirtualScanner.reset();
            AtomicReference<String> told = new AtomicReference<>();
            TwainException e = assertThrows(TwainException.class,
                    () -> session.perform("opening the source from another thread", () -> {
                        boolean opened = onAnotherThread(TwainEx::openSource);
                        told.set(SessionStates.refusal());
                        return opened;
                    }));
            String codes = " (TWAIN result code 1 (TWRC_FAILURE), condition code 11 "
                    + "(TWCC_SEQERROR), state 3)";
            assertEquals("opening the source from another thread failed"
                            + (told.get() != null ? ": " + told.get() : "") + codes,
                    e.getMessage());
            assertEquals(FailureKind.OUT_OF_SEQUENCE, e.kind());
            assertEquals(0, VirtualScanner.logWithoutStatus().size());
        }
    }

    @Test
    void theFramesNativeRefusesEdgesNoFix32CarriesAndSendsNothing() throws Exception {
        try (ScanSession session = ScanSession.open("scanlink32", "Tests", "Frames")) {
            session.openSource();
            VirtualScanner.reset();
            for (double[] edges : new double[][] {{0, 0, Double.NaN, 1}, {0, 32768, 1, 1},
                         {Double.NEGATIVE_INFINITY, 0, 1, 1}, {0, 0, 1, -32768.0001}}) {
                IllegalArgumentException e = assertThrows(IllegalArgumentException.class,
                        () -> session.call(() -> DeviceEx.setFractionalFrame(
                                edges[0], edges[1], edges[2], edges[3])));
                assertEquals("a frame's edges are numbers from -32768 to below 32768",
                        e.getMessage());
            }
            assertEquals(0, VirtualScanner.logWithoutStatus().size());
            assertFalse(VirtualScanner.logWithoutStatus().stream().anyMatch(t -> t.dat() == 0x0102));
        }
    }
}
