package scanlink.testsupport;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.TwainEx;
import org.junit.jupiter.api.extension.AfterEachCallback;
import org.junit.jupiter.api.extension.BeforeEachCallback;
import org.junit.jupiter.api.extension.ExtensionContext;
import scanlink.virtualscanner.VirtualScanner;

/**
 * Every test starts with the session down, the virtual scanner switched off and on and its log
 * empty, and ends by proving that the source never had to refuse a triplet for the thread it came
 * from, that the session comes down, and that no global memory handle and no window outlived it.
 */
public final class CleanSession implements BeforeEachCallback, AfterEachCallback {
    @Override
    public void beforeEach(ExtensionContext context) {
        TwainEx.unregister();
        VirtualScanner.powerCycle();
        VirtualScanner.reset();
    }

    @Override
    public void afterEach(ExtensionContext context) {
        for (VirtualScanner.Triplet triplet : VirtualScanner.log()) {
            assertTrue(!triplet.refusedForThread(), "the source refused for its thread: " + triplet);
        }
        assertTrue(TwainEx.unregister());
        assertTrue(TwainEx.getState() <= 1);
        assertEquals(0, VirtualScanner.liveGlobalHandles(), "global memory handles left alive");
        assertEquals(0, VirtualScanner.liveWindows(), "windows left alive");
    }
}
