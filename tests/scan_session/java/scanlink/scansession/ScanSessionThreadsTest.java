package scanlink.scansession;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Twain.*;

import QZ.korvel.twain.BufferedImageConsumer;
import QZ.korvel.twain.FailureKind;
import QZ.korvel.twain.Page;
import QZ.korvel.twain.PageListener;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TwainEx;
import QZ.korvel.twain.TwainException;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.Callable;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicReference;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Waiting;
import scanlink.virtualscanner.VirtualScanner;
import scanlink.virtualscanner.VirtualScanner.Triplet;

/**
 * One session called from many threads at once, and ended from other threads while it waits for a
 * page: nothing hangs, no call is lost, and every caller gets its own answer.
 */
@ExtendWith(CleanSession.class)
class ScanSessionThreadsTest {
    /** Long enough that a page asked for never comes while a test runs. */
    static final int NEVER_MS = 600_000;

    final ExecutorService threads = Executors.newCachedThreadPool();

    @AfterEach
    void stopTheThreads() throws InterruptedException {
        threads.shutdownNow();
        assertTrue(threads.awaitTermination(Waiting.BOUND_MILLIS, TimeUnit.MILLISECONDS));
    }

    static ScanSession openWithSource() throws TwainException {
        ScanSession session = ScanSession.open("scanlink32", "Tests", "Threads");
        session.openSource();
        session.setShowUserInterface(false);
        return session;
    }

    static <T> T within(Future<T> future, String what) throws Exception {
        return Waiting.within(future, what);
    }

    /** Returns once the source is enabled and waiting for its page to be scanned. */
    static void awaitTheSourceEnabled() {
        Waiting.until(() -> VirtualScanner.sourceState() == 5, "the source to be enabled");
    }

    @Test
    void eightThreadsOfFiftyCallsEachGetTheirOwnAnswersInTheirOwnOrder() throws Exception {
        try (ScanSession session = openWithSource()) {
            Thread sessionThread = session.call(Thread::currentThread);
            VirtualScanner.reset();
            CountDownLatch start = new CountDownLatch(1);
            List<Future<List<Double>>> callers = new ArrayList<>();
            for (int t = 0; t < 8; t++) {
                int caller = t;
                callers.add(threads.submit(() -> {
                    start.await();
                    List<Double> answers = new ArrayList<>();
                    for (int i = 0; i < 50; i++) {
                        double value = caller * 100 + i;
                        // A set and a read in one call: nothing of another caller comes between.
                        answers.add(session.call(() -> {
                            assertSame(sessionThread, Thread.currentThread());
                            assertTrue(TwainEx.setBrightness(value));
                            return TwainEx.getBrightness();
                        }));
                    }
                    return answers;
                }));
            }
            start.countDown();
            for (int t = 0; t < 8; t++) {
                List<Double> answers = within(callers.get(t), "caller " + t + "'s 50 calls");
                for (int i = 0; i < 50; i++) {
                    assertEquals(t * 100 + i, answers.get(i));
                }
            }
            // Every call reached the source once, and each caller's calls in the order it made them.
            List<Triplet> sets = Requests.sets(ICAP_BRIGHTNESS);
            assertEquals(400, sets.size());
            int[] next = new int[8];
            for (Triplet set : sets) {
                int value = (int) Requests.itemFix32(set);
                assertEquals(next[value / 100]++, value % 100);
            }
        }
    }

    @Test
    void closeFromAnotherThreadEndsAScanThatWaitsForAPage() throws Exception {
        VirtualScanner.setKnob("page.delay_ms", NEVER_MS);
        ScanSession session = openWithSource();
        Future<ScanResult> scan = threads.submit(() -> session.scan(3));
        awaitTheSourceEnabled();
        within(threads.submit(() -> {
            session.close();
            return null;
        }), "close() during a scan's wait for a page");
        ScanResult result = within(scan, "the scan that close() ended");
        assertEquals(ScanResult.Outcome.CANCELLED, result.outcome());
        assertEquals(0, result.pageCount());
        assertEquals(1, TwainEx.getState());
        assertEquals(0, VirtualScanner.liveWindows());
        assertThrows(IllegalStateException.class, () -> session.scan(1));
    }

    @Test
    void cancelEndsTheWaitAndKeepsThePagesBeforeIt() throws Exception {
        try (ScanSession session = openWithSource()) {
            CountDownLatch secondPageArriving = new CountDownLatch(1);
            CountDownLatch twoPagesTaken = new CountDownLatch(2);
            PageListener listener = new PageListener() {
                @Override
                public void pageScanned(Page page) throws Exception {
                    if (page.number() == 1) {
                        // Page 2 is being delivered, so only page 3 waits for ever.
                        assertTrue(secondPageArriving.await(Waiting.BOUND_MILLIS,
                                TimeUnit.MILLISECONDS));
                        VirtualScanner.setKnob("page.delay_ms", NEVER_MS);
                    }
                    twoPagesTaken.countDown();
                }

                @Override
                public void rowsScanned(int pageNumber, int rows, int height) {
                    if (pageNumber == 2) {
                        secondPageArriving.countDown();
                    }
                }
            };
            Future<ScanResult> scan = threads.submit(() -> session.scan(5, listener));
            assertTrue(twoPagesTaken.await(Waiting.BOUND_MILLIS, TimeUnit.MILLISECONDS));
            awaitTheSourceEnabled();
            assertTrue(session.cancel());
            ScanResult result = within(scan, "the scan that cancel() ended");
            assertEquals(ScanResult.Outcome.CANCELLED, result.outcome());
            assertEquals(2, result.pageCount());
            assertEquals(null, result.failure());
            // The source is left open, and the session scans again.
            assertEquals(4, session.state());
            assertFalse(session.cancel());
            VirtualScanner.setKnob("page.delay_ms", 0);
            assertEquals(1, Waiting.scan("a scan after the cancelled one", () -> session.scan(1))
                    .pageCount());
        }
    }

    /** Submits the call on a thread of its own; returns once that thread waits for its answer. */
    <T> Future<T> queue(Callable<T> call) {
        AtomicReference<Thread> caller = new AtomicReference<>();
        Future<T> future = threads.submit(() -> {
            caller.set(Thread.currentThread());
            return call.call();
        });
        Waiting.until(() -> caller.get() != null && caller.get().getState() == Thread.State.WAITING,
                "the call to wait for its turn");
        return future;
    }

    @Test
    void callsQueuedBehindAWaitingScanRunInTurnOnceItIsCancelled() throws Exception {
        VirtualScanner.setKnob("page.delay_ms", NEVER_MS);
        try (ScanSession session = openWithSource()) {
            Future<ScanResult> scan = threads.submit(() -> session.scan(1));
            awaitTheSourceEnabled();
            Future<PixelType> read = queue(session::pixelType);
            Future<ScanResult> secondScan = queue(() -> session.scan(1));
            assertFalse(read.isDone());
            assertTrue(session.cancel());
            assertEquals(ScanResult.Outcome.CANCELLED,
                    within(scan, "the scan that cancel() ended").outcome());
            assertEquals(PixelType.RGB, within(read, "the read queued behind the scan"));
            // The second scan was waiting its turn when cancel came: it is cancelled as well.
            assertEquals(ScanResult.Outcome.CANCELLED,
                    within(secondScan, "the scan queued behind the cancelled one").outcome());
            assertEquals(1, Requests.count(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS));
        }
    }

    @Test
    void closeFromAListenerEndsTheScanAfterThePageItTook() throws Exception {
        ScanSession session = openWithSource();
        AtomicReference<Throwable> unexpected = new AtomicReference<>();
        ScanResult result = within(threads.submit(() -> session.scan(5, page -> {
            try {
                session.close();
            } catch (Throwable t) {
                unexpected.set(t);
            }
        })), "the scan whose listener closed the session");
        assertEquals(null, unexpected.get());
        assertEquals(ScanResult.Outcome.CANCELLED, result.outcome());
        // Page 2 may have been scanned while page 1 was taken; it is handed over, not dropped.
        assertTrue(result.pageCount() == 1 || result.pageCount() == 2, "" + result.pageCount());
        assertEquals(result.pageCount(), Requests.count(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET));
        assertEquals(1, TwainEx.getState());
    }

    @Test
    void aScanCannotStartOnTheSessionThreadButThePageStillComes() throws Exception {
        try (ScanSession session = openWithSource()) {
            AtomicReference<Throwable> refused = new AtomicReference<>();
            ScanResult result = Waiting.scan("a scan whose listener starts another",
                    () -> session.scan(1, new PageListener() {
                        @Override
                        public void pageScanned(Page page) {}

                        @Override
                        public void rowsScanned(int pageNumber, int rows, int height) {
                            if (rows == 1) {
                                refused.set(assertThrows(IllegalStateException.class,
                                        () -> session.scan(1)));
                            }
                        }
                    }));
            assertEquals(ScanResult.Outcome.COMPLETE, result.outcome());
            assertEquals("a scan cannot start inside the callback of a scan",
                    refused.get().getMessage());
        }
    }

    @Test
    void theRawInterfaceStillBelongsToTheRegisteringThread() throws Exception {
        try (ScanSession session = openWithSource()) {
            assertTrue(session.call(TwainEx::prepareTransfer));
            // Waiting for a page on any other thread is refused at once, as the binding documents.
            assertFalse(TwainEx.acquireImage(new BufferedImageConsumer()));
            assertEquals(TWRC_FAILURE, TwainEx.getResultCode());
            assertEquals(11, TwainEx.getConditionCode()); // TWCC_SEQERROR
            session.perform("disabling the source", TwainEx::stopTransfer);
        }
    }

    @Test
    void anInterruptCancelsTheScanItsThreadWaitsForAndKeepsThePagesBefore() throws Exception {
        try (ScanSession session = openWithSource()) {
            AtomicReference<Thread> scanning = new AtomicReference<>();
            CountDownLatch firstPageTaken = new CountDownLatch(1);
            Future<Object[]> scan = threads.submit(() -> {
                scanning.set(Thread.currentThread());
                ScanResult result = session.scan(5, page -> {
                    VirtualScanner.setKnob("page.delay_ms", NEVER_MS);
                    firstPageTaken.countDown();
                });
                return new Object[] {result, Thread.currentThread().isInterrupted()};
            });
            assertTrue(firstPageTaken.await(Waiting.BOUND_MILLIS, TimeUnit.MILLISECONDS));
            awaitTheSourceEnabled();
            scanning.get().interrupt();
            Object[] ended = within(scan, "the scan whose thread was interrupted");
            ScanResult result = (ScanResult) ended[0];
            assertEquals(ScanResult.Outcome.CANCELLED, result.outcome());
            assertEquals(1, result.pageCount());
            assertTrue((Boolean) ended[1], "the interrupt flag is kept");
            assertEquals(4, session.state());
        }
    }

    @Test
    void anInterruptCancelsACallThatWaitsForItsTurn() throws Exception {
        VirtualScanner.setKnob("page.delay_ms", NEVER_MS);
        try (ScanSession session = openWithSource()) {
            Future<ScanResult> scan = threads.submit(() -> session.scan(1));
            awaitTheSourceEnabled();
            AtomicReference<Thread> caller = new AtomicReference<>();
            Future<Object[]> turnedOn = threads.submit(() -> {
                caller.set(Thread.currentThread());
                try {
                    session.setFeederEnabled(true);
                    return new Object[] {null, Thread.currentThread().isInterrupted()};
                } catch (TwainException e) {
                    return new Object[] {e, Thread.currentThread().isInterrupted()};
                }
            });
            Waiting.until(() -> caller.get() != null
                            && caller.get().getState() == Thread.State.WAITING,
                    "the call to wait for its turn");
            caller.get().interrupt();
            Object[] answer = within(turnedOn, "the interrupted call");
            assertTrue(answer[0] instanceof TwainException, "an interrupted call throws");
            assertTrue(((TwainException) answer[0]).getMessage().contains("interrupted"));
            assertEquals(FailureKind.CANCELLED, ((TwainException) answer[0]).kind());
            assertTrue((Boolean) answer[1], "the interrupt flag is kept");
            assertTrue(session.cancel());
            within(scan, "the scan that cancel() ended");
            // The call was cancelled before it ran: the feeder was never asked.
            assertEquals(0, Requests.sets(CAP_FEEDERENABLED).size());
        }
    }

    @Test
    void closeReturnsWhenItsThreadIsInterruptedAndTheTeardownGoesOn() throws Exception {
        VirtualScanner.setKnob("manager.dialog", 1);
        VirtualScanner.setKnob("ui.manual", 1);
        ScanSession session = ScanSession.open("scanlink32", "Tests", "Threads");
        // The session's thread shows the selection dialog until someone presses a button.
        Future<Boolean> selection = threads.submit(session::selectSource);
        Waiting.until(() -> VirtualScanner.window("manager.dialog") != 0, "the selection dialog");
        Future<Boolean> closed = threads.submit(() -> {
            Thread.currentThread().interrupt();
            session.close();
            return Thread.currentThread().isInterrupted();
        });
        assertTrue(within(closed, "close() on an interrupted thread"));
        assertTrue(VirtualScanner.press("manager.dialog", VirtualScanner.IDCANCEL));
        assertFalse(within(selection, "the selection dialog"));
        Waiting.until(() -> TwainEx.getState() == 1, "the teardown to end");
    }

    @Test
    void anErrorOnTheSessionThreadEndsTheScanWithThePagesBeforeIt() throws Exception {
        AssertionError broken = new AssertionError("the progress bar's own bug");
        try (ScanSession session = openWithSource()) {
            CountDownLatch secondPageFailed = new CountDownLatch(1);
            ScanResult result = Waiting.scan("a scan whose progress listener throws an error",
                    () -> session.scan(3, new PageListener() {
                        @Override
                        public void pageScanned(Page page) throws Exception {
                            // The session scans page 2 meanwhile.
                            secondPageFailed.await(Waiting.BOUND_MILLIS, TimeUnit.MILLISECONDS);
                        }

                        @Override
                        public void rowsScanned(int pageNumber, int rows, int height) {
                            if (pageNumber == 2) {
                                secondPageFailed.countDown();
                                throw broken;
                            }
                        }
                    }));
            assertEquals(ScanResult.Outcome.FAILED, result.outcome());
            assertSame(broken, result.failure().getCause());
            assertEquals(1, result.pageCount());
            assertEquals(4, session.state());
        }
    }
}
