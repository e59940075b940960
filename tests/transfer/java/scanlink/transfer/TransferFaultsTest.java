package scanlink.transfer;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertInstanceOf;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Pages.assertIsTheExpectedPage;

import QZ.korvel.twain.Page;
import QZ.korvel.twain.PageListener;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TransferMode;
import QZ.korvel.twain.TwainException;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Waiting;
import scanlink.virtualscanner.VirtualScanner;

/**
 * What a memory or file transfer does when the source fails or lies: the automatic mode takes the
 * page natively when its memory transfer fails before the first strip, a chosen mode says why it
 * failed, a lying buffer is refused, and every way out leaves the session ready for the next scan
 * and no transfer file behind.
 */
@ExtendWith(CleanSession.class)
class TransferFaultsTest {
    static final String PLANAR =
            "Planar image data is not supported: the source sends each color in a plane of its own!";
    static final String OVERRUN =
            "A strip of the memory transfer reaches past the buffer it came in!";
    static final String UNWRITTEN =
            "The source said it wrote the page to the file, and the file is not there or empty!";

    static ScanResult scan(ScanSession session, TransferMode mode) throws Exception {
        session.setTransferMode(mode);
        return Waiting.scan("a page by " + mode, () -> session.scan(1));
    }

    /** The knob, the mode, and what the scan gives: the mechanism of its page, or its failure. */
    @ParameterizedTest(name = "{0} by {1}")
    @CsvSource(delimiter = '|', value = {
        "memory.fail_first | AUTOMATIC | NATIVE",
        "imageinfo.planar  | AUTOMATIC | NATIVE",
        "memory.fail_first | MEMORY    | acquiring page 1 failed: the source gave no page (TWAIN result code 1 (TWRC_FAILURE), condition code 5 (TWCC_OPERATIONERROR), state 4)",
        "imageinfo.planar  | MEMORY    | reading page 1 by memory transfer failed: " + PLANAR,
        "memory.overrun    | AUTOMATIC | reading page 1 failed: " + OVERRUN,
        "file.unwritten    | FILE      | reading page 1 failed: " + UNWRITTEN,
    })
    void aFailingOrLyingTransferFallsBackOrSaysWhy(String knob, TransferMode mode, String outcome)
            throws Exception {
        VirtualScanner.setKnob(knob, 1);
        try (ScanSession session = TransferModesTest.openAt(75, PixelType.RGB)) {
            ScanResult result = scan(session, mode);
            if (outcome.equals("NATIVE")) {
                assertEquals(1, result.pageCount(), () -> String.valueOf(result.failure()));
                Page page = result.pages().get(0);
                assertEquals(TransferMode.NATIVE, page.transfer());
                assertIsTheExpectedPage(page.image());
            } else {
                assertEquals(ScanResult.Outcome.FAILED, result.outcome());
                assertEquals(outcome, result.failure().getMessage());
            }
            assertEquals(4, session.state());
            VirtualScanner.reset();
            assertEquals(1, scan(session, mode).pageCount(), "the next scan");
        }
        assertTrue(transferFilesLeft().isEmpty(), transferFilesLeft().toString());
    }

    /** A listener that closes the session while a page's strips come ends it there. */
    @Test
    void closeFromTheRowsOfAMemoryTransferEndsItCleanly() throws Exception {
        VirtualScanner.setKnob("memory.strip_rows", 10);
        ScanSession session = TransferModesTest.openAt(75, PixelType.GRAY);
        ScanResult result = Waiting.scan("a scan closed from its rows", () -> session.scan(1,
                new PageListener() {
                    @Override
                    public void pageScanned(Page page) {}

                    @Override
                    public void rowsScanned(int pageNumber, int rows, int height) {
                        if (rows == 20) {
                            session.close();
                        }
                    }
                }));
        assertEquals(0, result.pageCount());
        session.close();
        assertEquals(2, VirtualScanner.managerState(), "the manager is closed");
        long buffers = VirtualScanner.logWithoutStatus().stream()
                .filter(t -> t.dat() == 0x0103).count();
        assertEquals(2, buffers, "no buffer is asked for after the teardown");
    }

    /** Another thread's cancel while strips come ends the scan, which keeps nothing. */
    @Test
    void aCancelDuringTheStripsEndsTheScan() throws Exception {
        VirtualScanner.setKnob("memory.strip_rows", 10);
        try (ScanSession session = TransferModesTest.openAt(75, PixelType.GRAY)) {
            ScanResult result = Waiting.scan("a scan cancelled during its strips",
                    () -> session.scan(1, new PageListener() {
                        @Override
                        public void pageScanned(Page page) {}

                        @Override
                        public void rowsScanned(int pageNumber, int rows, int height) {
                            if (rows == 20) {
                                Thread cancel = new Thread(session::cancel);
                                cancel.start();
                                try {
                                    cancel.join();
                                } catch (InterruptedException e) {
                                    Thread.currentThread().interrupt();
                                }
                            }
                        }
                    }));
            assertEquals(ScanResult.Outcome.CANCELLED, result.outcome());
            assertEquals(0, result.pageCount());
            assertEquals(4, session.state());
        }
    }

    @Test
    void aModeTheSourceDoesNotOfferFailsTheScanBeforeAnyPage() throws Exception {
        VirtualScanner.setKnob("memory.unoffered", 1);
        try (ScanSession session = TransferModesTest.openAt(75, PixelType.RGB)) {
            ScanResult result = scan(session, TransferMode.MEMORY);
            TwainException failure = assertInstanceOf(TwainException.class, result.failure());
            assertEquals("setting the transfer mechanism to memory", failure.step());
            assertEquals(TransferMode.NATIVE,
                    scan(session, TransferMode.AUTOMATIC).pages().get(0).transfer());
        }
    }

    static java.util.List<Path> transferFilesLeft() throws IOException {
        String cache = System.getenv("XDG_CACHE_HOME");
        Path root = cache != null && !cache.isEmpty() ? Paths.get(cache)
                : Paths.get(System.getProperty("user.home"), ".cache");
        Path folder = root.resolve("scanlink32").resolve("transfers");
        if (!Files.isDirectory(folder)) {
            return java.util.List.of();
        }
        try (Stream<Path> files = Files.list(folder)) {
            return files.collect(java.util.stream.Collectors.toList());
        }
    }
}
