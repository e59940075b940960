package scanlink.acquisition;

import static scanlink.testsupport.Twain.*;
import static scanlink.testsupport.Pages.assertIsTheExpectedPage;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.BufferedImageConsumer;
import QZ.korvel.twain.TwainEx;
import java.awt.image.BufferedImage;
import java.lang.management.ManagementFactory;
import java.lang.management.ThreadMXBean;
import java.nio.file.Path;
import java.util.List;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import scanlink.virtualscanner.VirtualScanner;
import scanlink.virtualscanner.VirtualScanner.Triplet;

@ExtendWith(CleanSession.class)
class AcquisitionTest {
    static final int WM_USER = 0x0400;
    static final int SOURCE_EVENT_MESSAGE = 0x8000 + 0x0A1;

    static final Path SUITE = Path.of(System.getenv("BMP_SUITE"));

    int recordingWindow;

    @BeforeEach
    void openTheSource() {
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Acquisition"));
        assertTrue(TwainEx.openSource());
    }

    @AfterEach
    void destroyTheRecordingWindow() {
        if (recordingWindow != 0) {
            assertTrue(VirtualScanner.destroyWindow(recordingWindow));
        }
    }

    static BufferedImage acquire() {
        BufferedImageConsumer builder = new BufferedImageConsumer();
        assertTrue(TwainEx.acquireImage(builder));
        assertNotNull(builder.image());
        return builder.image();
    }


    static List<Integer> requests(int dat) {
        return VirtualScanner.logWithoutStatus().stream().filter(t -> t.dat() == dat)
                .map(Triplet::msg).toList();
    }

    @Test
    void scansTheChartPixelForPixelAndStaysEnabled() {
        assertTrue(TwainEx.prepareTransfer());
        assertEquals(5, TwainEx.getState());
        assertIsTheExpectedPage(acquire());
        assertEquals(5, TwainEx.getState());
        assertEquals(0, VirtualScanner.liveGlobalHandles());
    }

    @Test
    void eachPixelTypeScansAsTheChart() {
        assertTrue(TwainEx.setXResolution(75));
        assertTrue(TwainEx.setYResolution(75));
        for (short pixelType : new short[] {0, 1, 2}) {
            assertTrue(TwainEx.setPixelType(pixelType));
            assertTrue(TwainEx.prepareTransfer());
            BufferedImage page = acquire();
            assertIsTheExpectedPage(page);
            assertTrue(TwainEx.stopTransfer());
            // The black and white page holds only black and white; the gray page only grays.
            int[] rgb = page.getRGB(0, 0, page.getWidth(), page.getHeight(), null, 0,
                    page.getWidth());
            for (int pixel : rgb) {
                int r = (pixel >> 16) & 0xFF;
                int g = (pixel >> 8) & 0xFF;
                int b = pixel & 0xFF;
                if (pixelType == 0) {
                    assertTrue((pixel & 0xFFFFFF) == 0 || (pixel & 0xFFFFFF) == 0xFFFFFF);
                } else if (pixelType == 1) {
                    assertTrue(r == g && g == b);
                }
            }
        }
    }

    @Test
    void visibilityIsSetByRegisterAndClearedByUnregister() {
        assertTrue(TwainEx.unregister());
        assertFalse(TwainEx.getVisible());
        assertTrue(TwainEx.setVisible(true));
        assertTrue(TwainEx.getVisible());
        assertTrue(TwainEx.setVisible(false));
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Acquisition"));
        assertTrue(TwainEx.getVisible()); // the earlier setting did not last
        assertTrue(TwainEx.setVisible(false));
        assertTrue(TwainEx.unregister());
        assertFalse(TwainEx.getVisible());
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Acquisition"));
        assertTrue(TwainEx.openSource());
    }

    @Test
    void severalPagesInARow() {
        assertTrue(TwainEx.prepareTransfer());
        for (int page = 0; page < 3; page++) {
            assertIsTheExpectedPage(acquire());
            assertEquals(5, TwainEx.getState());
        }
        assertEquals(3, requests(DAT_IMAGENATIVEXFER).size());
    }

    @Test
    void enableSendsTheUserInterfaceRecordAndRepeatsNothing() {
        assertTrue(TwainEx.setVisible(false));
        assertFalse(TwainEx.getVisible());
        assertTrue(TwainEx.prepareTransfer());
        assertTrue(TwainEx.prepareTransfer());
        List<Triplet> enables = VirtualScanner.logWithoutStatus().stream()
                .filter(t -> t.is(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS)).toList();
        assertEquals(1, enables.size());
        byte[] ui = enables.get(0).data();
        assertArrayEquals(new byte[] {0, 0, 1, 0}, java.util.Arrays.copyOf(ui, 4));
    }

    @Test
    void withoutItsInterfaceTheSourceScansOnceThenAsksToBeClosed() {
        TwainEx.setVisible(false);
        assertTrue(TwainEx.prepareTransfer());
        acquire();
        assertFalse(TwainEx.acquireImage(new BufferedImageConsumer()));
        assertEquals(4, TwainEx.getState());
        assertEquals(4, VirtualScanner.sourceState()); // disabled, not closed
    }

    @Test
    void acquireBeforePrepareReturnsAtOnceAndSendsNothing() {
        VirtualScanner.reset();
        assertFalse(TwainEx.acquireImage(new BufferedImageConsumer()));
        assertEquals(4, TwainEx.getState());
        assertEquals(0, VirtualScanner.log().size());
    }

    @Test
    void prepareNeedsAnOpenSource() {
        assertTrue(TwainEx.closeSource());
        VirtualScanner.reset();
        assertFalse(TwainEx.prepareTransfer());
        assertEquals(3, TwainEx.getState());
        assertEquals(0, VirtualScanner.log().size());
    }

    @Test
    void refusedEnableStaysInStateFourWithTheSourcesCodes() {
        VirtualScanner.script(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, TWRC_FAILURE,
                TWCC_LOWMEMORY, 1);
        assertFalse(TwainEx.prepareTransfer());
        assertEquals(4, TwainEx.getState());
        assertEquals(TWRC_FAILURE, TwainEx.getResultCode());
        assertEquals(TWCC_LOWMEMORY, TwainEx.getConditionCode());
    }

    @Test
    void cancelledTransferDisablesTheSource() {
        VirtualScanner.script(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, TWRC_CANCEL, 0, 1);
        assertTrue(TwainEx.prepareTransfer());
        assertFalse(TwainEx.acquireImage(new BufferedImageConsumer()));
        assertEquals(4, TwainEx.getState());
        // The codes are those of the last triplet on that path: the disable.
        assertEquals(0, TwainEx.getResultCode());
        assertEquals(List.of(MSG_ENDXFER, MSG_RESET), requests(DAT_PENDINGXFERS));
        assertFalse(TwainEx.acquireImage(new BufferedImageConsumer()));
        assertTrue(TwainEx.prepareTransfer());
        acquire();
    }

    @Test
    void failedTransferGoesStraightToResetAndDisables() {
        VirtualScanner.script(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, TWRC_FAILURE,
                TWCC_LOWMEMORY, 1);
        assertTrue(TwainEx.prepareTransfer());
        assertFalse(TwainEx.acquireImage(new BufferedImageConsumer()));
        assertEquals(4, TwainEx.getState());
        assertEquals(List.of(MSG_RESET), requests(DAT_PENDINGXFERS));
        assertEquals(List.of(MSG_ENABLEDS, MSG_DISABLEDS), requests(DAT_USERINTERFACE));
    }

    @Test
    void closeRequestDisablesTheSource() {
        VirtualScanner.setKnob("source.close_request", 1);
        assertTrue(TwainEx.prepareTransfer());
        assertFalse(TwainEx.acquireImage(new BufferedImageConsumer()));
        assertEquals(4, TwainEx.getState());
        assertEquals(4, VirtualScanner.sourceState());
    }

    @Test
    void quitDuringTheWaitLeavesTheSourceEnabled() {
        // Long enough that the quit is surely alone in the queue when the wait begins.
        VirtualScanner.setKnob("page.delay_ms", 1000);
        assertTrue(TwainEx.prepareTransfer());
        VirtualScanner.postQuitMessage();
        assertFalse(TwainEx.acquireImage(new BufferedImageConsumer()));
        assertEquals(5, TwainEx.getState());
        // The quit was consumed: the next wait gets the page.
        acquire();
    }

    @Test
    void nullConsumerLosesThePageButFreesIt() {
        assertTrue(TwainEx.prepareTransfer());
        Exception e = assertThrows(Exception.class, () -> TwainEx.acquireImage(null));
        assertEquals("Invalid consumer!", e.getMessage());
        assertEquals(5, TwainEx.getState());
        assertEquals(0, VirtualScanner.liveGlobalHandles());
        assertEquals(1, requests(DAT_IMAGENATIVEXFER).size());
    }

    @Test
    void pendingTransfersAreDiscardedAfterThePage() {
        VirtualScanner.setKnob("endxfer.count", 2);
        assertTrue(TwainEx.prepareTransfer());
        acquire();
        assertEquals(5, TwainEx.getState());
        assertEquals(List.of(MSG_ENDXFER, MSG_RESET), requests(DAT_PENDINGXFERS));
        VirtualScanner.setKnob("endxfer.count", 0xFFFF);
        acquire();
        assertEquals(List.of(MSG_ENDXFER, MSG_RESET, MSG_ENDXFER, MSG_RESET),
                requests(DAT_PENDINGXFERS));
        assertEquals(2, requests(DAT_IMAGENATIVEXFER).size());
    }

    @Test
    void messagesTheSourceDoesNotClaimAreDispatched() {
        recordingWindow = VirtualScanner.createRecordingWindow();
        // Queued before the source is enabled, so the pump takes it before the page.
        assertTrue(VirtualScanner.postMessage(recordingWindow, WM_USER + 5));
        assertTrue(TwainEx.prepareTransfer());
        acquire();
        assertEquals(1, VirtualScanner.dispatchedTo(WM_USER + 5));
        assertEquals(0, VirtualScanner.dispatchedTo(SOURCE_EVENT_MESSAGE));
    }

    @Test
    void transferReadyCountsEvenWhenTheSourceSaysNotItsEvent() {
        recordingWindow = VirtualScanner.createRecordingWindow();
        VirtualScanner.setKnob("event.window", recordingWindow);
        VirtualScanner.setKnob("event.result", TWRC_NOTDSEVENT);
        assertTrue(TwainEx.prepareTransfer());
        acquire();
        // Acted on, and then dispatched as well.
        assertEquals(1, VirtualScanner.dispatchedTo(SOURCE_EVENT_MESSAGE));
    }

    @Test
    void unlockableImageIsRefusedAndStillFreed() {
        VirtualScanner.setKnob("transfer.bad_handle", 1);
        assertTrue(TwainEx.prepareTransfer());
        Exception e = assertThrows(Exception.class, () -> TwainEx.acquireImage(new BufferedImageConsumer()));
        assertEquals("Invalid image!", e.getMessage());
        assertEquals(5, TwainEx.getState());
    }

    @Test
    void pageFilesAreDeliveredInOrderThenTheSourceAsksToBeClosed() {
        VirtualScanner.setPageFiles(SUITE.resolve("g/pal8.bmp") + ":"
                + SUITE.resolve("g/pal8nonsquare.bmp"));
        assertTrue(TwainEx.closeSource());
        assertTrue(TwainEx.openSource());
        assertTrue(TwainEx.prepareTransfer());
        assertEquals(64, acquire().getHeight());
        assertEquals(32, acquire().getHeight());
        assertFalse(TwainEx.acquireImage(new BufferedImageConsumer()));
        assertEquals(4, TwainEx.getState());
    }

    @Test
    void malformedPageFailsTheDeliveryNotTheSession() {
        VirtualScanner.setPageFiles(SUITE.resolve("b/badbitcount.bmp").toString());
        assertTrue(TwainEx.closeSource());
        assertTrue(TwainEx.openSource());
        assertTrue(TwainEx.prepareTransfer());
        Exception e = assertThrows(Exception.class, () -> TwainEx.acquireImage(new BufferedImageConsumer()));
        assertEquals("Unsupported image type!", e.getMessage());
        assertEquals(5, TwainEx.getState());
    }

    @Test
    void theWaitBlocksInsteadOfPolling() {
        String page = SUITE.resolve("g/rgb24.bmp").toString();
        VirtualScanner.setPageFiles(page + ":" + page);
        assertTrue(TwainEx.closeSource());
        assertTrue(TwainEx.openSource());
        VirtualScanner.setKnob("page.delay_ms", 1500);
        assertTrue(TwainEx.prepareTransfer());
        acquire(); // the first page warms up the delivery; the second wait is measured
        ThreadMXBean threads = ManagementFactory.getThreadMXBean();
        long cpuBefore = threads.getCurrentThreadCpuTime();
        long wallBefore = System.nanoTime();
        acquire();
        long cpu = threads.getCurrentThreadCpuTime() - cpuBefore;
        long wall = System.nanoTime() - wallBefore;
        assertTrue(wall >= 1_000_000_000L, "the page came early: " + wall + " ns");
        // A polling loop would burn the whole wait; a blocked thread uses next to nothing.
        assertTrue(cpu < wall / 20, "the waiting thread used " + cpu / 1_000_000 + " ms of CPU in "
                + wall / 1_000_000 + " ms");
    }
}
