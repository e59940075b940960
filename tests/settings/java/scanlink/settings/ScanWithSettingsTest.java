package scanlink.settings;

import static scanlink.testsupport.Pages.assertIsTheExpectedPage;
import static scanlink.testsupport.Pages.colors;
import static scanlink.testsupport.Twain.*;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.BufferedImageConsumer;
import QZ.korvel.twain.TwainEx;
import java.awt.image.BufferedImage;
import java.util.HashSet;
import java.util.Set;
import org.junit.jupiter.api.Test;
import scanlink.virtualscanner.VirtualScanner;

/** Scans whose settings were negotiated first: the page follows them; the feeder runs dry. */
@ExtendWith(CleanSession.class)
class ScanWithSettingsTest {



    static void openTheSource() {
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Settings"));
        assertTrue(TwainEx.openSource());
        // One scan per enable: the source asks to be closed once its page is taken.
        assertTrue(TwainEx.setVisible(false));
    }

    static BufferedImage scanOnePage() {
        assertTrue(TwainEx.prepareTransfer());
        BufferedImageConsumer builder = new BufferedImageConsumer();
        assertTrue(TwainEx.acquireImage(builder));
        assertNotNull(builder.image());
        assertTrue(TwainEx.stopTransfer());
        return builder.image();
    }


    static boolean isGray(int rgb) {
        return (rgb >> 16 & 0xFF) == (rgb >> 8 & 0xFF) && (rgb >> 8 & 0xFF) == (rgb & 0xFF);
    }

    /** What the source would scan now, as width, height and pixels, next to what was delivered. */

    @Test
    void resolutionPixelTypeAndFrameShapeThePage() {
        openTheSource();
        assertTrue(TwainEx.setPixelType(TWPT_GRAY));
        assertTrue(TwainEx.setXResolution(150.0));
        assertTrue(TwainEx.setYResolution(75.0));
        assertTrue(TwainEx.setFrame(1, 1, 4, 3));
        BufferedImage page = scanOnePage();
        assertEquals(3 * 150, page.getWidth());
        assertEquals(2 * 75, page.getHeight());
        Set<Integer> colors = colors(page);
        assertTrue(colors.stream().allMatch(ScanWithSettingsTest::isGray), "gray only");
        assertTrue(colors.size() > 2, "levels of gray, not black and white");
        assertIsTheExpectedPage(page);
    }

    @Test
    void blackAndWhiteInCentimeters() {
        openTheSource();
        assertTrue(TwainEx.setPixelType(TWPT_BW));
        assertEquals(1, TwainEx.getBitDepth());
        assertTrue(TwainEx.setCurrentUnits(TWUN_CENTIMETERS));
        assertTrue(TwainEx.setXResolution(200 / 2.54)); // 200 dots per inch
        assertTrue(TwainEx.setYResolution(200 / 2.54));
        assertTrue(TwainEx.setFrame(2, 3, 12, 8));
        BufferedImage page = scanOnePage();
        assertEquals(Math.round(10 / 2.54 * 200), page.getWidth());
        assertEquals(Math.round(5 / 2.54 * 200), page.getHeight());
        assertEquals(Set.of(0x000000, 0xFFFFFF), colors(page));
        assertIsTheExpectedPage(page);
    }

    @Test
    void colorAtTheDefaultsIsTheWholeGlass() {
        openTheSource();
        BufferedImage page = scanOnePage();
        assertEquals(850, page.getWidth());
        assertEquals(1100, page.getHeight());
        assertFalse(colors(page).stream().allMatch(ScanWithSettingsTest::isGray));
    }

    @Test
    void aFeederRunOfSeveralPagesOneEnableEach() {
        VirtualScanner.setKnob("feeder.sheets", 3);
        openTheSource();
        assertTrue(TwainEx.setFeederEnabled(true));
        int pages = 0;
        while (TwainEx.isFeederLoaded()) {
            assertTrue(TwainEx.setTransferCount(1));
            assertEquals(850, scanOnePage().getWidth());
            pages++;
            assertTrue(pages <= 3, "the feeder gave more sheets than it held");
        }
        assertEquals(3, pages);
        assertEquals(3, VirtualScanner.logWithoutStatus().stream()
                .filter(t -> t.dat() == DAT_IMAGENATIVEXFER).count());
        // Out of paper, the source has no page and asks to be closed at once.
        assertTrue(TwainEx.prepareTransfer());
        assertFalse(TwainEx.acquireImage(new BufferedImageConsumer()));
    }

    @Test
    void sheetsNotScannedStayInTheFeeder() {
        VirtualScanner.setKnob("feeder.sheets", 2);
        openTheSource();
        assertTrue(TwainEx.setFeederEnabled(true));
        scanOnePage(); // CAP_XFERCOUNT -1: the remaining transfers are discarded, not the sheet
        assertTrue(TwainEx.isFeederLoaded());
        scanOnePage();
        assertFalse(TwainEx.isFeederLoaded());
    }

    @Test
    void withoutAutomaticFeedingEachSheetIsFedByCommand() {
        VirtualScanner.setKnob("feeder.sheets", 2);
        openTheSource();
        assertTrue(TwainEx.setFeederEnabled(true));
        assertTrue(TwainEx.setAutoFeed(false));
        assertTrue(TwainEx.prepareTransfer());
        assertFalse(TwainEx.acquireImage(new BufferedImageConsumer())); // nothing at the scan position
        assertTrue(TwainEx.stopTransfer());
        assertTrue(TwainEx.feedPage());
        scanOnePage();
        assertTrue(TwainEx.feedPage()); // the scanned sheet out, the second one in
        scanOnePage();
        assertFalse(TwainEx.feedPage());
        assertTrue(TwainEx.clearPage());
        assertFalse(TwainEx.isFeederLoaded());
    }
}
