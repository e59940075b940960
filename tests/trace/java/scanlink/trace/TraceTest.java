package scanlink.trace;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.Trace;
import QZ.korvel.twain.Version;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.logging.Handler;
import java.util.logging.Level;
import java.util.logging.LogRecord;
import java.util.logging.Logger;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import org.junit.jupiter.api.io.TempDir;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Waiting;
import scanlink.virtualscanner.VirtualScanner;

/**
 * The trace through the binding: started by its class, it holds the pages as the library delivered
 * or refused them; the session's own steps go to java.util.logging.
 */
@ExtendWith(CleanSession.class)
class TraceTest {
    @TempDir Path folder;

    @AfterEach
    void stopTheTrace() {
        Trace.stop();
    }

    static String scanInto(Path file, String pageFiles) throws Exception {
        assertTrue(Trace.start(file.toString()));
        if (pageFiles != null) {
            VirtualScanner.setPageFiles(pageFiles);
        }
        try (ScanSession session = ScanSession.open("scanlink32", "Tests", "Trace")) {
            session.openSource();
            session.setShowUserInterface(false);
            Waiting.scan("the traced scan", () -> session.scan(1));
        }
        Trace.stop();
        return new String(Files.readAllBytes(file), StandardCharsets.UTF_8);
    }

    @Test
    void aTracedScanShowsTheManagerTheSourceAndThePage() throws Exception {
        String trace = scanInto(folder.resolve("scan.log"), null);
        assertTrue(trace.contains("Twain_32.dll loaded"), trace);
        assertTrue(trace.contains("source opened: \"Virtual Scanner\" by \"scanlink32\", family "
                + "\"Virtual Devices\", version 1.0 \"Virtual Scanner 1.0\", protocol 1.9"), trace);
        assertTrue(trace.matches("(?s).*page delivered: 850 x 1100 pixels, 24 bits, \\d+ bytes, in "
                + "[0-9.]+ ms.*"), trace);
        assertTrue(trace.contains("DG_IMAGE/DAT_IMAGENATIVEXFER/MSG_GET to source -> TWRC_XFERDONE"),
                trace);
    }

    @Test
    void theFileBeginsWithTheVersionsTheHostAndTheProcessAndNamesJavaThreads() throws Exception {
        String trace = scanInto(folder.resolve("header.log"), null);
        List<String> lines = trace.lines().collect(java.util.stream.Collectors.toList());
        assertEquals("# scanlink32 " + Version.library() + " ("
                + Version.coordinates() + ", build ", lines.get(0).substring(0,
                lines.get(0).indexOf(", build ") + 8));
        assertEquals("# host: " + System.getProperty("os.name") + " "
                + System.getProperty("os.version") + " " + System.getProperty("os.arch") + ", "
                + System.getProperty("java.vm.name") + " "
                + System.getProperty("java.runtime.version") + " ("
                + System.getProperty("sun.arch.data.model") + "-bit), Java "
                + System.getProperty("java.specification.version"), lines.get(1));
        assertTrue(lines.get(2).startsWith("# process " + ProcessHandle.current().pid() + " "),
                lines.get(2));
        String thread = "\"" + Thread.currentThread().getName() + "\"";
        assertTrue(lines.get(3).matches("\\S+ thread \\d+ " + java.util.regex.Pattern.quote(thread)
                + " state \\d trace started"), lines.get(3));
    }

    @Test
    void failuresThatTheBindingFindsAndTheApplicationsNotesAreTraced() throws Exception {
        Path file = folder.resolve("binding.log");
        assertTrue(Trace.start(file.toString()));
        String refusal;
        try (ScanSession session = ScanSession.open("scanlink32", "Tests", "Trace")) {
            session.openSource();
            refusal = assertThrows(IllegalStateException.class,
                    () -> session.openSource("Virtual Scanner")).getMessage();
            Trace.note("the application's own line");
        }
        Trace.stop();
        String trace = new String(Files.readAllBytes(file), StandardCharsets.UTF_8);
        assertTrue(trace.contains(" binding: " + refusal + "\n"), trace);
        assertTrue(trace.contains(" the application's own line\n"), trace);
        Trace.note("not traced: the trace is off");
        assertEquals(trace, new String(Files.readAllBytes(file), StandardCharsets.UTF_8));
    }

    @Test
    void aRefusedPageIsTracedWithTheDecodersReason() throws Exception {
        Path notAnImage = folder.resolve("short.bmp");
        // A file header and a 40-byte info header claiming rows that are not there.
        byte[] bytes = new byte[14 + 40];
        bytes[14] = 40;
        bytes[18] = 10; // width 10
        bytes[22] = 10; // height 10
        bytes[26] = 1; // planes
        bytes[28] = 24; // bits
        Files.write(notAnImage, bytes);
        String trace = scanInto(folder.resolve("refused.log"), notAnImage.toString());
        assertTrue(trace.contains("page not delivered: Invalid image! (the rows reach past the "
                + "block)"), trace);
    }

    @Test
    void aFileThatCannotBeOpenedTurnsNothingOn() {
        assertFalse(Trace.start(folder.resolve("no-such-folder").resolve("t.log").toString()));
    }

    @Test
    void theSessionLogsItsStepsAtFine() throws Exception {
        Logger logger = Logger.getLogger("QZ.korvel.twain");
        List<String> messages = new ArrayList<>();
        Handler handler = new Handler() {
            @Override
            public void publish(LogRecord record) {
                synchronized (messages) {
                    messages.add(record.getMessage());
                }
            }

            @Override
            public void flush() {}

            @Override
            public void close() {}
        };
        Level before = logger.getLevel();
        logger.setLevel(Level.FINE);
        logger.addHandler(handler);
        try {
            try (ScanSession session = ScanSession.open("scanlink32", "Tests", "Logging")) {
                session.openSource();
                session.setShowUserInterface(false);
                session.setResolution(150);
                ScanResult result = Waiting.scan("the logged scan", () -> session.scan(1));
                assertEquals(1, result.pageCount());
            }
        } finally {
            logger.removeHandler(handler);
            logger.setLevel(before);
        }
        String all = String.join("\n", messages);
        assertTrue(all.contains("opened a session for scanlink32 Logging 1.0"), all);
        assertTrue(all.contains("opened the default source"), all);
        assertTrue(all.contains("setting the horizontal resolution to 150.0"), all);
        assertTrue(all.contains("page 1: 1275 x 1650 pixels at 150.0 x 150.0 dpi"), all);
        assertTrue(all.contains("the scan ended: COMPLETE"), all);
        assertTrue(all.contains("closing the session"), all);
        assertTrue(all.contains("closed the session, state 1"), all);
    }
}
