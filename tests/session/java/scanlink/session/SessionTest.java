package scanlink.session;

import static scanlink.testsupport.Twain.*;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.TwainEx;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.api.Test;
import scanlink.virtualscanner.VirtualScanner;
import scanlink.virtualscanner.VirtualScanner.Triplet;

@ExtendWith(CleanSession.class)
class SessionTest {



    /** A zero-terminated field of the identity the manager received at MSG_OPENDSM. */
    static byte[] openDsmField(int offset) {
        Triplet open = VirtualScanner.log().get(0);
        assertTrue(open.is(DG_CONTROL, DAT_PARENT, MSG_OPENDSM));
        byte[] origin = open.origin();
        int end = offset;
        while (origin[end] != 0) {
            end++;
        }
        return Arrays.copyOfRange(origin, offset, end);
    }

    static final int INFO = 12;
    static final int MANUFACTURER = 54;
    static final int PRODUCT_FAMILY = 88;
    static final int PRODUCT_NAME = 122;

    @Test
    void registerConvertsStringsToTheAnsiCodePage() {
        assertTrue(TwainEx.register(3, 10, "Ma\u00f1ana \u20ac", "\u65e5\u672c", "Demo"));
        assertArrayEquals(new byte[] {'M', 'a', (byte) 0xF1, 'a', 'n', 'a', ' ', (byte) 0x80},
                openDsmField(MANUFACTURER));
        assertArrayEquals("??".getBytes(StandardCharsets.US_ASCII), openDsmField(PRODUCT_FAMILY));
        assertArrayEquals("Demo 3.10".getBytes(StandardCharsets.US_ASCII), openDsmField(INFO));
    }

    @Test
    void emptyAndNullStringsGiveEmptyFields() {
        assertTrue(TwainEx.register(1, 2, "", null, "Demo"));
        assertEquals(0, openDsmField(MANUFACTURER).length);
        assertEquals(0, openDsmField(PRODUCT_FAMILY).length);
        assertEquals("Demo", new String(openDsmField(PRODUCT_NAME), StandardCharsets.US_ASCII));
    }

    @Test
    void aManagerThatRefusesANamelessApplicationLeavesStateTwo() {
        assertFalse(TwainEx.register(1, 2, "Maker", "Family", null));
        assertEquals(2, TwainEx.getState());
        assertEquals(1, TwainEx.getResultCode());
        assertEquals(1, TwainEx.getConditionCode());
    }

    @Test
    void codesReachJavaAsTheirSixteenBits() {
        assertTrue(TwainEx.register(1, 0, "Maker", "Family", "Demo"));
        VirtualScanner.script(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, 1, 0, 1);
        VirtualScanner.script(DG_CONTROL, DAT_STATUS, MSG_GET, 0, 0x8001, 1);
        assertFalse(TwainEx.selectSource());
        assertEquals(1, TwainEx.getResultCode());
        assertEquals((short) 0x8001, TwainEx.getConditionCode());
        assertTrue(TwainEx.getConditionCode() < 0);
    }

    @Test
    void cancelledSelectionIsAFailureThatKeepsTheManagerOpen() {
        assertTrue(TwainEx.register(1, 0, "Maker", "Family", "Demo"));
        VirtualScanner.script(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, 3, 0, 1);
        assertFalse(TwainEx.selectSource());
        assertEquals(3, TwainEx.getResultCode());
        assertEquals(3, TwainEx.getState());
        assertTrue(TwainEx.selectSource());
    }

    @Test
    void upToAnOpenSourceAndBackDownStepByStep() {
        assertTrue(TwainEx.register(1, 0, "Maker", "Family", "Demo"));
        assertTrue(TwainEx.openSource());
        assertEquals(4, TwainEx.getState());
        assertEquals(4, VirtualScanner.sourceState());
        assertTrue(TwainEx.openSource()); // already there: nothing sent
        assertTrue(TwainEx.stopTransfer()); // nothing to stop
        assertTrue(TwainEx.closeSource());
        assertEquals(3, TwainEx.getState());
        assertTrue(TwainEx.unregister());
        assertEquals(1, TwainEx.getState());
        List<Integer> sent = VirtualScanner.logWithoutStatus().stream().map(Triplet::msg).toList();
        assertEquals(List.of(MSG_OPENDSM, MSG_OPENDS, MSG_CLOSEDS, MSG_CLOSEDSM), sent);
    }

    @Test
    void failedOpenOfTheSourceStaysInStateThree() {
        assertTrue(TwainEx.register(1, 0, "Maker", "Family", "Demo"));
        VirtualScanner.script(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, 1, 3, 1);
        assertFalse(TwainEx.openSource());
        assertEquals(3, TwainEx.getState());
        assertEquals(3, TwainEx.getConditionCode());
    }
}
