package scanlink.settings;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.TwainEx;
import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import scanlink.virtualscanner.VirtualScanner;
import scanlink.virtualscanner.VirtualScanner.Triplet;

class PageCommandsAndFrameTest {
    static final int DAT_CAPABILITY = 1;
    static final int DAT_IMAGELAYOUT = 0x0102;

    @BeforeEach
    void startClean() {
        TwainEx.unregister();
        VirtualScanner.powerCycle();
        VirtualScanner.reset();
    }

    @AfterEach
    void nothingOutlivesTheScenario() {
        assertTrue(TwainEx.unregister());
        assertEquals(0, VirtualScanner.liveGlobalHandles());
        assertEquals(0, VirtualScanner.liveWindows());
    }

    static void openTheSource() {
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Settings"));
        assertTrue(TwainEx.openSource());
    }

    /** The capability and container of each capability request, without the handle. */
    static List<String> sentCapabilities() {
        return VirtualScanner.logWithoutStatus().stream().filter(t -> t.dat() == DAT_CAPABILITY)
                .map(t -> Arrays.toString(Arrays.copyOf(t.data(), 4))
                        + Arrays.toString(t.container()))
                .toList();
    }

    @Test
    void pageCommandsNeedAnOpenSource() {
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Settings"));
        VirtualScanner.reset();
        assertFalse(TwainEx.clearPage());
        assertFalse(TwainEx.feedPage());
        assertFalse(TwainEx.rewindPage());
        assertFalse(TwainEx.skipImage());
        assertEquals(0, VirtualScanner.log().size());
    }

    @Test
    void skipImageAsksWhatFeedPageAsksAndGetsTheSameAnswer() {
        VirtualScanner.setKnob("feeder.sheets", 1);
        openTheSource();
        assertTrue(TwainEx.setFeederEnabled(true));
        VirtualScanner.reset();
        assertTrue(TwainEx.feedPage());
        assertFalse(TwainEx.skipImage()); // the tray is empty now
        assertFalse(TwainEx.feedPage());
        assertEquals(29, TwainEx.getConditionCode());
        List<String> sent = sentCapabilities();
        assertEquals(3, sent.size());
        assertEquals("[9, 16, 5, 0][4, 0, 1, 0, 0, 0]", sent.get(0));
        assertEquals(sent.get(0), sent.get(1));
        assertEquals(sent.get(0), sent.get(2));
    }

    @Test
    void aSourceThatRefusesToRewind() {
        VirtualScanner.setKnob("CAP_REWINDPAGE.unsupported", 1);
        openTheSource();
        assertFalse(TwainEx.rewindPage());
        assertEquals(1, TwainEx.getResultCode());
        assertEquals(13, TwainEx.getConditionCode());
        assertEquals("[10, 16, 5, 0][4, 0, 1, 0, 0, 0]", sentCapabilities().get(0));
    }

    @Test
    void theFrameTravelsInWholeUnits() {
        openTheSource();
        VirtualScanner.reset();
        assertTrue(TwainEx.setFrame(0.5, 0.5, 8.5, 11.7));
        assertFalse(TwainEx.setFrame(-2.5, 32768.0, 65539.0, Double.NaN)); // no area on the glass
        assertEquals(1, TwainEx.getResultCode());
        List<Triplet> layouts = VirtualScanner.logWithoutStatus().stream()
                .filter(t -> t.dat() == DAT_IMAGELAYOUT).toList();
        assertEquals(2, layouts.size());
        assertArrayEquals(new byte[] {0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0, 11, 0, 0, 0, 1, 0, 0, 0,
                1, 0, 0, 0, 1, 0, 0, 0}, layouts.get(0).data());
        assertArrayEquals(new byte[] {(byte) 0xFE, (byte) 0xFF, 0, 0, 0, (byte) 0x80, 0, 0, 3, 0,
                0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, layouts.get(1).data());
    }
}
