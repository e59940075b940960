package scanlink.settings;

import static scanlink.testsupport.Twain.*;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.TwainEx;
import java.util.List;
import org.junit.jupiter.api.Test;
import scanlink.virtualscanner.VirtualScanner;
import scanlink.virtualscanner.VirtualScanner.Triplet;

@ExtendWith(CleanSession.class)
class PageCommandsAndFrameTest {



    static void openTheSource() {
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Settings"));
        assertTrue(TwainEx.openSource());
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
