package scanlink.scansession;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertInstanceOf;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Pages.assertIsTheExpectedPage;
import static scanlink.testsupport.Pages.rgb;
import static scanlink.testsupport.Twain.*;

import QZ.korvel.twain.Page;
import QZ.korvel.twain.PageListener;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TwainException;
import java.io.File;
import java.io.IOException;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.TimeoutException;
import javax.imageio.ImageIO;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Waiting;
import scanlink.virtualscanner.VirtualScanner;

/**
 * Runs of the document feeder and of several pages: one enable per page, so nothing that the
 * feeder takes in is lost; the pages before a failure are kept with the failure; a listener takes
 * each page while the next is scanned.
 */
@ExtendWith(CleanSession.class)
class FeederRunTest {
    static final Path SUITE = Path.of(System.getenv("BMP_SUITE"));

    static ScanSession openWithSource() throws TwainException {
        ScanSession session = ScanSession.open("scanlink32", "Tests", "Feeder");
        session.openSource();
        session.setShowUserInterface(false);
        return session;
    }

    /** Each enable of the run was asked for one page, and no transfer was discarded. */
    static void assertOneEnablePerPage(int pages) {
        List<String> sequence = Requests.sequence();
        List<Integer> enables = new ArrayList<>();
        for (int i = 0; i < sequence.size(); i++) {
            if (sequence.get(i).equals("0009/0502")) {
                enables.add(i);
            }
        }
        assertEquals(pages, enables.size());
        for (int enable : enables) {
            assertEquals("set 0001=1", sequence.get(enable - 1), "before the enable at " + enable);
        }
        assertEquals(pages, Requests.pagesTransferred());
        assertEquals(0, Requests.count(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET));
    }

    @Test
    void fiveSheetsGiveFivePagesAndAnEmptyTray() throws Exception {
        VirtualScanner.setKnob("feeder.sheets", 5);
        try (ScanSession session = openWithSource()) {
            ScanResult result = Waiting.scan("the run of five sheets",
                    () -> session.scanFeeder());
            assertEquals(ScanResult.Outcome.FEEDER_EMPTY, result.outcome());
            assertEquals(5, result.pageCount());
            for (int i = 0; i < 5; i++) {
                Page page = result.pages().get(i);
                assertEquals(i + 1, page.number());
                assertIsTheExpectedPage(page.image());
            }
            assertTrue(session.isFeederEnabled());
            assertEquals(false, session.isFeederLoaded());
            assertOneEnablePerPage(5);
        }
    }

    @Test
    void aRunThatStopsAtItsCountLeavesTheOtherSheetsInTheTray() throws Exception {
        VirtualScanner.setKnob("feeder.sheets", 5);
        try (ScanSession session = openWithSource()) {
            ScanResult first = Waiting.scan("the run of the feeder",
                    () -> session.scanFeeder(3));
            assertEquals(ScanResult.Outcome.COMPLETE, first.outcome());
            assertEquals(3, first.pageCount());
            assertTrue(session.isFeederLoaded());
            ScanResult rest = Waiting.scan("the run of the feeder",
                    () -> session.scanFeeder());
            assertEquals(ScanResult.Outcome.FEEDER_EMPTY, rest.outcome());
            assertEquals(2, rest.pageCount());
            assertOneEnablePerPage(5);
        }
    }

    @Test
    void anEmptyTrayEndsTheRunBeforeAnyEnable() throws Exception {
        try (ScanSession session = openWithSource()) {
            ScanResult result = Waiting.scan("the run of an empty tray",
                    () -> session.scanFeeder(4));
            assertEquals(ScanResult.Outcome.FEEDER_EMPTY, result.outcome());
            assertEquals(0, result.pageCount());
            assertOneEnablePerPage(0);
        }
    }

    @Test
    void aPageThatCannotBeReadEndsTheRunWithThePagesBeforeIt() throws Exception {
        String good = SUITE.resolve("g/rgb24.bmp").toString();
        VirtualScanner.setPageFiles(String.join(File.pathSeparator, good, good,
                SUITE.resolve("b/badbitcount.bmp").toString(), good, good));
        try (ScanSession session = openWithSource()) {
            ScanResult result = Waiting.scan("the scan",
                    () -> session.scan(5));
            assertEquals(ScanResult.Outcome.FAILED, result.outcome());
            assertEquals(2, result.pageCount());
            int[] expected = rgb(ImageIO.read(new File(good)));
            for (Page page : result.pages()) {
                assertArrayEquals(expected, rgb(page.image()));
            }
            TwainException failure = assertInstanceOf(TwainException.class, result.failure());
            assertEquals("reading page 3", failure.step());
            assertEquals("Unsupported image type!", failure.getCause().getMessage());
            // The source is disabled again and the session goes on.
            assertEquals(4, session.state());
            assertEquals(ScanResult.Outcome.COMPLETE, Waiting.scan("the scan",
                    () -> session.scan(1)).outcome());
        }
    }

    @Test
    void aRefusedEnableOnPageThreeKeepsPagesOneAndTwo() throws Exception {
        VirtualScanner.setKnob("feeder.sheets", 5);
        try (ScanSession session = openWithSource()) {
            ScanResult result = Waiting.scan("the run",
                    () -> session.scanFeeder(5, new PageListener() {
                @Override
                public void pageScanned(Page page) {}

                @Override
                public void rowsScanned(int pageNumber, int rows, int height) {
                    // On the session thread, while page 2 is delivered: before page 3's enable.
                    if (pageNumber == 2 && rows == height) {
                        VirtualScanner.script(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS,
                                TWRC_FAILURE, TWCC_LOWMEMORY, 1);
                    }
                }
            }));
            assertEquals(ScanResult.Outcome.FAILED, result.outcome());
            assertEquals(2, result.pageCount());
            TwainException failure = assertInstanceOf(TwainException.class, result.failure());
            assertEquals("enabling the source for page 3 failed (TWAIN result code 1 "
                    + "(TWRC_FAILURE), condition code 2 (TWCC_LOWMEMORY), state 4)",
                    failure.getMessage());
            // The sheet was not taken in: it is scanned by the next run.
            assertEquals(3, Waiting.scan("the run",
                    () -> session.scanFeeder()).pageCount());
        }
    }

    @Test
    void aListenerTakesEachPageOnTheCallingThreadWhileTheNextIsScanned() throws Exception {
        VirtualScanner.setKnob("feeder.sheets", 5);
        List<String> events = Collections.synchronizedList(new ArrayList<>());
        List<int[]> progress = Collections.synchronizedList(new ArrayList<>());
        CountDownLatch secondPageArriving = new CountDownLatch(1);
        Thread caller = Thread.currentThread();
        try (ScanSession session = openWithSource()) {
            ScanResult result = Waiting.scan("the run with a listener",
                    () -> session.scanFeeder(5, new PageListener() {
                @Override
                public void pageScanned(Page page) throws Exception {
                    assertSame(caller, Thread.currentThread());
                    events.add("taking " + page.number());
                    if (page.number() == 1) {
                        // The session scans page 2 while page 1 is still being taken.
                        assertTrue(secondPageArriving.await(Waiting.BOUND_MILLIS,
                                TimeUnit.MILLISECONDS));
                    }
                    assertIsTheExpectedPage(page.image());
                    events.add("took " + page.number());
                }

                @Override
                public void rowsScanned(int pageNumber, int rows, int height) {
                    progress.add(new int[] {pageNumber, rows, height});
                    if (rows == 1) {
                        events.add("rows of " + pageNumber);
                        if (pageNumber == 2) {
                            secondPageArriving.countDown();
                        }
                    }
                }
            }));
            assertEquals(ScanResult.Outcome.COMPLETE, result.outcome());
            assertEquals(5, result.pageCount());
            assertEquals(List.of(), result.pages());
        }
        // Pages are taken in order, and the session is never more than one page ahead.
        for (int page = 1; page <= 5; page++) {
            assertTrue(events.indexOf("took " + page) > events.indexOf("taking " + page));
            if (page > 1) {
                assertTrue(events.indexOf("taking " + page) > events.indexOf("took " + (page - 1)));
            }
            if (page > 2) {
                assertTrue(events.indexOf("rows of " + page) > events.indexOf("took " + (page - 2)),
                        events.toString());
            }
        }
        assertTrue(events.indexOf("rows of 2") < events.indexOf("took 1"));
        // The rows of each page are told from the first to the last.
        int[] last = {0, 0, 0};
        for (int[] report : progress) {
            if (report[0] == last[0]) {
                assertEquals(last[1] + 1, report[1]);
            } else {
                assertEquals(last[0] + 1, report[0]);
                assertEquals(last[1], last[2]);
                assertEquals(1, report[1]);
            }
            last = report;
        }
        assertEquals(5, last[0]);
        assertEquals(last[2], last[1]);
    }

    @Test
    void aListenerCallsTheSessionBetweenPagesWithoutWaitingForTheScan() throws Exception {
        VirtualScanner.setKnob("feeder.sheets", 4);
        try (ScanSession session = openWithSource()) {
            Thread sessionThread = session.call(Thread::currentThread);
            List<Boolean> loaded = new ArrayList<>();
            ExecutorService caller = Executors.newSingleThreadExecutor();
            Future<ScanResult> scan = caller.submit(() -> session.scanFeeder(4, page -> {
                // The session may be waiting for this listener to take the page: the call must
                // not queue behind the scan.
                assertSame(sessionThread, session.call(Thread::currentThread));
                loaded.add(session.isFeederLoaded());
                if (page.number() == 2) {
                    session.setPixelType(PixelType.GRAY); // for the pages still to come
                }
                assertThrows(IllegalStateException.class, () -> session.scan(1));
            }));
            caller.shutdown();
            ScanResult result;
            try {
                result = scan.get(Waiting.BOUND_MILLIS, TimeUnit.MILLISECONDS);
            } catch (TimeoutException e) {
                session.cancel(); // lets the scan end, and the stuck call with it
                throw new AssertionError("the listener's call waited for the scan", e);
            }
            assertEquals(ScanResult.Outcome.COMPLETE, result.outcome());
            assertEquals(4, result.pageCount());
            assertEquals(4, loaded.size());
            assertEquals(false, loaded.get(3));
            assertEquals(PixelType.GRAY, session.pixelType());
        }
    }

    @Test
    void aListenerThatFailsEndsTheRunWithItsOwnExceptionAndLosesNoPage() throws Exception {
        VirtualScanner.setKnob("feeder.sheets", 5);
        IOException diskFull = new IOException("no space left on the disk");
        try (ScanSession session = openWithSource()) {
            ScanResult result = Waiting.scan("the run with a failing listener",
                    () -> session.scanFeeder(5, page -> {
                if (page.number() == 2) {
                    throw diskFull;
                }
            }));
            assertEquals(ScanResult.Outcome.FAILED, result.outcome());
            assertSame(diskFull, result.failure());
            // Page 2 and the one already under way come back with the failure.
            assertEquals(2, result.pages().get(0).number());
            assertEquals(1 + result.pages().size(), result.pageCount());
            assertEquals(result.pageCount(), Requests.pagesTransferred(),
                    "every page the feeder took in is in the result");
            assertTrue(result.pageCount() <= 3);
            assertEquals(4, session.state());
        }
    }

    @Test
    void aListenerThatThrowsAnErrorLosesNoPageEither() throws Exception {
        VirtualScanner.setKnob("feeder.sheets", 3);
        AssertionError broken = new AssertionError("the listener's own bug");
        try (ScanSession session = openWithSource()) {
            ScanResult result = Waiting.scan("the run with a failing listener",
                    () -> session.scanFeeder(3, page -> {
                throw broken;
            }));
            assertEquals(ScanResult.Outcome.FAILED, result.outcome());
            assertSame(broken, result.failure().getCause());
            assertEquals(1, result.pages().get(0).number());
            assertEquals(result.pageCount(), result.pages().size());
            assertEquals(result.pageCount(), Requests.pagesTransferred());
        }
    }
}
