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

    @Test
    void unregisterOnOneThreadWhileAnotherSendsCapabilityRequests() throws Exception {
        AtomicBoolean stop = new AtomicBoolean();
        AtomicInteger sent = new AtomicInteger();
        Future<?> requests = other.submit(() -> {
            while (!stop.get()) {
                TwainEx.setXResolution(150);
                TwainEx.getXResolution();
                TwainEx.isFeederLoaded();
                sent.incrementAndGet();
            }
        });
        // Until the other thread has been served a good many times, whoever was scheduled first.
        for (int round = 0; round < 300 || sent.get() < 2000; round++) {
            assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Threads"));
            assertTrue(TwainEx.openSource());
            assertTrue(TwainEx.unregister());
        }
        stop.set(true);
        within(requests);
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
    void unregisterOnAnotherThreadLeavesNoWindowOnceTheOwnerIsBackOrGone() throws Exception {
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Threads"));
        assertEquals(1, VirtualScanner.liveWindows());
        assertTrue(within(other.submit(TwainEx::unregister)));
        assertEquals(1, TwainEx.getState());  // the owner is back: its window goes
        assertEquals(0, VirtualScanner.liveWindows());

        Thread registering = new Thread(
                () -> assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Threads")));
        registering.start();
        registering.join();
        assertTrue(within(other.submit(TwainEx::unregister)));
        // join() returns before the system has finished ending the thread.
        long deadline = System.nanoTime() + TimeUnit.SECONDS.toNanos(10);
        while (VirtualScanner.liveWindows() != 0 && System.nanoTime() < deadline) {
            Thread.sleep(1);
        }
        assertEquals(0, VirtualScanner.liveWindows(), "the window went with its thread");
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
