package QZ.korvel.twain;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.concurrent.Callable;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import scanlink.virtualscanner.VirtualScanner;

/**
 * A getter refused for its thread answers a plausible value with the codes of a real sequence
 * error; the reason of the refusal tells the two apart, on any thread, until a later call of the
 * session is carried out.
 */
@ExtendWith(CleanSession.class)
class LastRefusalTest {
    static final short TWRC_FAILURE = 1;
    static final short TWCC_SEQERROR = 11;
    static final int DG_CONTROL = 0x0001;
    static final int DAT_CAPABILITY = 0x0001;
    static final int MSG_GETCURRENT = 0x0002;

    final ExecutorService other = Executors.newSingleThreadExecutor();
    final ExecutorService reader = Executors.newSingleThreadExecutor();

    @AfterEach
    void stopTheOtherThreads() throws InterruptedException {
        other.shutdownNow();
        reader.shutdownNow();
        assertTrue(other.awaitTermination(10, TimeUnit.SECONDS));
        assertTrue(reader.awaitTermination(10, TimeUnit.SECONDS));
    }

    static <T> T on(ExecutorService thread, Callable<T> call) throws Exception {
        return thread.submit(call).get(10, TimeUnit.SECONDS);
    }

    @Test
    void aGetterRefusedForItsThreadTellsWhy() throws Exception {
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Refusals"));
        assertTrue(TwainEx.openSource());
        // The source itself refuses the request as out of sequence: no refusal of the library's.
        VirtualScanner.script(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, TWRC_FAILURE,
                TWCC_SEQERROR, 1);
        assertEquals(0, TwainEx.getPixelType());
        assertEquals(TWRC_FAILURE, TwainEx.getResultCode());
        assertEquals(TWCC_SEQERROR, TwainEx.getConditionCode());
        assertNull(SessionStates.lastRefusal(), "the source's own refusal");

        assertEquals(0, (int) on(other, TwainEx::getPixelType));
        assertEquals(TWRC_FAILURE, TwainEx.getResultCode());
        assertEquals(TWCC_SEQERROR, TwainEx.getConditionCode());
        String reason = on(reader, SessionStates::lastRefusal);
        assertTrue(reason != null && reason.startsWith("getPixelType: the owner, thread ")
                && reason.endsWith(", does not wait"), String.valueOf(reason));
        assertEquals(4, TwainEx.getState(), "reading the state is no call of the session");
        assertEquals(reason, SessionStates.lastRefusal());

        assertTrue(TwainEx.setXResolution(150));
        assertNull(on(reader, SessionStates::lastRefusal), "a call carried out since");
    }
}
