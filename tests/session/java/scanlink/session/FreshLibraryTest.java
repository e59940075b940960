package scanlink.session;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.TwainEx;
import org.junit.jupiter.api.Test;
import scanlink.virtualscanner.VirtualScanner;

/** The library as the VM first loads it; this class runs in a JVM of its own. */
class FreshLibraryTest {
    @Test
    void startsInStateZeroAndTeardownBeforeRegisterDoesNothing() {
        VirtualScanner.powerCycle();
        VirtualScanner.reset();
        assertEquals(0, TwainEx.getState());
        assertEquals(0, TwainEx.getResultCode());
        assertEquals(0, TwainEx.getConditionCode());

        assertTrue(TwainEx.setVisible(false)); // accepted, and undone by register
        assertTrue(TwainEx.unregister());
        assertTrue(TwainEx.closeSource());
        assertTrue(TwainEx.stopTransfer());
        assertEquals(0, TwainEx.getState());
        assertEquals(0, VirtualScanner.log().size());

        assertTrue(TwainEx.register(1, 0, "Maker", "Family", "Fresh"));
        assertEquals(3, TwainEx.getState());
        assertTrue(TwainEx.getVisible());
        assertEquals(0, TwainEx.getResultCode());
        assertEquals(1, TwainEx.getConditionCode()); // nobody is asked in state 2
        assertTrue(TwainEx.unregister());
        assertEquals(1, TwainEx.getState());
        assertEquals(0, VirtualScanner.liveWindows());
    }
}
