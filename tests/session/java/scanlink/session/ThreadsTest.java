package scanlink.session;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Twain.*;

import QZ.korvel.twain.BufferedImageConsumer;
import QZ.korvel.twain.TwainEx;
import java.awt.image.ColorModel;
import java.awt.image.ImageConsumer;
import java.util.Hashtable;
import java.util.List;
import java.util.concurrent.CompletableFuture;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicBoolean;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.function.BooleanSupplier;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Waiting;
import scanlink.virtualscanner.VirtualScanner;

/**
 * The natives called from several Java threads: none crashes, none waits for what cannot come,
 * and no window outlives the session.
 */
@ExtendWith(CleanSession.class)
class ThreadsTest {
    final ExecutorService other = Executors.newSingleThreadExecutor();

    @AfterEach
    void stopTheOtherThread() throws InterruptedException {
        other.shutdownNow();
        assertTrue(other.awaitTermination(10, TimeUnit.SECONDS));
    }

    static void openAndEnable() {
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Threads"));
        assertTrue(TwainEx.openSource());
        assertTrue(TwainEx.setXResolution(75));
        assertTrue(TwainEx.prepareTransfer());
    }

    static <T> T within(Future<T> future) throws Exception {
        return future.get(10, TimeUnit.SECONDS);
    }

    /** Every triplet the device received came from the thread that sent the first one. */
    static void assertOneThreadSpokeTwain() {
        List<VirtualScanner.Triplet> log = VirtualScanner.log();
        for (VirtualScanner.Triplet triplet : log) {
            assertEquals(log.get(0).thread(), triplet.thread(), "sent from another thread: " + triplet);
        }
    }

    @Test
    void anotherThreadsCallsAreRefusedWhileTheOwnerDoesNotWait() throws Exception {
        AtomicBoolean stop = new AtomicBoolean();
        AtomicInteger refused = new AtomicInteger();
        Future<?> requests = other.submit(() -> {
            while (!stop.get()) {
                if (!TwainEx.setXResolution(150) && TwainEx.getConditionCode() == TWCC_SEQERROR) {
                    refused.incrementAndGet();
                }
                TwainEx.getXResolution();
                TwainEx.isFeederLoaded();
            }
        });
        // Until the other thread has been refused a good many times, whoever was scheduled first.
        for (int round = 0; round < 300 || refused.get() < 200; round++) {
            assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Threads"));
            assertTrue(TwainEx.openSource());
            assertTrue(TwainEx.unregister());
        }
        stop.set(true);
        within(requests);
        assertOneThreadSpokeTwain();
    }

    @Test
    void anotherThreadsCallIsCarriedOutByTheOwnerWhileItWaits() throws Exception {
        VirtualScanner.setKnob("page.delay_ms", 600_000); // no page comes within the test
        openAndEnable();
        Future<Double> resolution = other.submit(() -> {
            // Refused, with nothing sent, until the owner waits; then carried out by the owner.
            double[] value = {0};
            Waiting.until(() -> (value[0] = TwainEx.getXResolution()) != 0, "the owner's wait");
            TwainEx.stopTransfer();
            return value[0];
        });
        assertFalse(TwainEx.acquireImage(new BufferedImageConsumer()));
        assertEquals(75.0, within(resolution));
        assertEquals(4, TwainEx.getState());
        assertOneThreadSpokeTwain();
    }

    @Test
    void aTeardownFromAnotherThreadEndsTheWaitOfTheRegisteringThread() throws Exception {
        BooleanSupplier[] teardowns = {
            TwainEx::stopTransfer, TwainEx::closeSource, TwainEx::unregister};
        int[] statesAfter = {4, 3, 1};
        for (int i = 0; i < teardowns.length; i++) {
            VirtualScanner.setKnob("page.delay_ms", 600_000);  // no page comes within the test
            openAndEnable();
            BooleanSupplier teardown = teardowns[i];
            Future<Boolean> tornDown = other.submit(() -> {
                Thread.sleep(100);
                return teardown.getAsBoolean();
            });
            assertFalse(TwainEx.acquireImage(new BufferedImageConsumer()));
            assertTrue(within(tornDown));
            assertEquals(statesAfter[i], TwainEx.getState());
            assertTrue(TwainEx.unregister());
            VirtualScanner.powerCycle();
            VirtualScanner.reset();
        }
    }

    @Test
    void acquireOnAThreadThatDidNotRegisterIsRefusedAtOnce() throws Exception {
        openAndEnable();
        VirtualScanner.reset();
        assertFalse(within(other.submit(() -> TwainEx.acquireImage(new BufferedImageConsumer()))));
        assertEquals(TWRC_FAILURE, TwainEx.getResultCode());
        assertEquals(TWCC_SEQERROR, TwainEx.getConditionCode());
        assertEquals(5, TwainEx.getState());
        assertEquals(0, VirtualScanner.log().size());
        // The registering thread still scans.
        assertTrue(TwainEx.acquireImage(new BufferedImageConsumer()));
    }

    @Test
    void unregisterOnAnotherThreadIsRefusedWhileTheOwnerLivesAndDoesNotWait() throws Exception {
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Threads"));
        assertEquals(1, VirtualScanner.liveWindows());
        assertFalse(within(other.submit(TwainEx::unregister)));
        assertEquals(TWCC_SEQERROR, TwainEx.getConditionCode());
        assertEquals(3, TwainEx.getState());
        assertEquals(1, VirtualScanner.liveWindows());
        assertTrue(TwainEx.unregister());
        assertEquals(0, VirtualScanner.liveWindows());
    }

    @Test
    void theSessionOfAnOwnerThatEndedIsTakenDownByAnotherThread() throws Exception {
        VirtualScanner.setKnob("threads.strict", 0); // the thread that opened the manager is gone
        Thread registering = new Thread(
                () -> assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Threads")));
        registering.start();
        registering.join();
        // join() returns before the system has finished ending the thread.
        long deadline = System.nanoTime() + TimeUnit.SECONDS.toNanos(10);
        while (VirtualScanner.liveWindows() != 0 && System.nanoTime() < deadline) {
            Thread.sleep(1);
        }
        assertEquals(0, VirtualScanner.liveWindows(), "the window went with its thread");
        assertTrue(within(other.submit(TwainEx::unregister)));
        assertEquals(1, TwainEx.getState());
    }

    @Test
    void aConsumerThatAcquiresAgainWhileTheTransferIsUnendedGetsTheNextPage() throws Exception {
        openAndEnable();
        VirtualScanner.script(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, TWRC_FAILURE,
                TWCC_OPERATIONERROR, 2);
        BufferedImageConsumer inner = new BufferedImageConsumer();
        CompletableFuture<Boolean> innerResult = new CompletableFuture<>();
        BufferedImageConsumer page = new BufferedImageConsumer();
        ImageConsumer outer = new ImageConsumer() {
            @Override
            public void setDimensions(int width, int height) {
                page.setDimensions(width, height);
                if (!innerResult.isDone()) {
                    innerResult.complete(TwainEx.acquireImage(inner));
                }
            }

            @Override
            public void setProperties(Hashtable<?, ?> props) {}

            @Override
            public void setColorModel(ColorModel model) {}

            @Override
            public void setHints(int hints) {}

            @Override
            public void setPixels(int x, int y, int w, int h, ColorModel model, byte[] pixels,
                    int off, int scansize) {
                page.setPixels(x, y, w, h, model, pixels, off, scansize);
            }

            @Override
            public void setPixels(int x, int y, int w, int h, ColorModel model, int[] pixels,
                    int off, int scansize) {
                page.setPixels(x, y, w, h, model, pixels, off, scansize);
            }

            @Override
            public void imageComplete(int status) {
                page.imageComplete(status);
            }
        };
        assertTrue(TwainEx.acquireImage(outer));
        assertTrue(within(innerResult));
        assertTrue(inner.image() != null);
        assertTrue(page.image() != null);
        assertEquals(5, TwainEx.getState());
    }
}
