package scanlink.bridge;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertInstanceOf;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TwainException;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import scanlink.testsupport.Waiting;

/**
 * A bridge that dies, hangs or speaks nonsense: the session fails with what happened, keeps the
 * pages that came before, closes, hangs nowhere and leaves no process behind.
 */
class BridgeFaultsTest {
    @BeforeAll
    static void shortGrace() {
        System.setProperty("scanlink32.bridge.grace.ms", "300");
    }

    @AfterEach
    void noBridgeIsLeft() {
        Bridges.assertNoneLeft();
    }

    @ParameterizedTest(name = "{0} at page {1}")
    @CsvSource({"KILL, 1, 137", "KILL, 3, 137", "SEGV, 2, 139", "ABRT, 1, 134"})
    void aBridgeThatDiesEndsTheScanWithItsExitCode(String signal, int page, int exitCode)
            throws Exception {
        try (ScanSession session = Bridges.isolated()) {
            session.openSource();
            session.setShowUserInterface(false);
            session.setPixelType(PixelType.RGB);
            ScanResult result = Waiting.scan("a feeder run whose bridge dies",
                    () -> session.scanFeeder(1000, scanned -> {
                        if (scanned.number() == page) {
                            Bridges.signal(signal);
                        }
                    }));
            assertEquals(ScanResult.Outcome.FAILED, result.outcome());
            assertTrue(result.pageCount() >= page, "pages delivered: " + result.pageCount());
            TwainException failure = assertInstanceOf(TwainException.class, result.failure());
            assertTrue(failure.getMessage().endsWith("ended with exit code " + exitCode),
                    failure.getMessage());
            IllegalStateException closed =
                    assertThrows(IllegalStateException.class, session::pixelType);
            assertTrue(closed.getMessage().startsWith("the scan session is closed"),
                    closed.getMessage());
        }
        try (ScanSession again = Bridges.isolated()) {
            again.openSource();
        }
    }

    /** A stopped bridge is a driver that hangs: a cancel or a close ends it after the grace. */
    @ParameterizedTest
    @CsvSource({"cancel", "close"})
    void aBridgeThatHangsIsEndedByCancelOrClose(String how) throws Exception {
        ScanSession session = Bridges.isolated();
        session.openSource();
        session.setShowUserInterface(false);
        ScanResult result = Waiting.scan("a feeder run whose bridge hangs",
                () -> session.scanFeeder(1000, scanned -> {
                    if (scanned.number() == 1) {
                        Bridges.signal("STOP");
                        if (how.equals("cancel")) {
                            session.cancel();
                        } else {
                            new Thread(session::close).start();
                        }
                    }
                }));
        assertTrue(result.pageCount() >= 1);
        TwainException failure = assertInstanceOf(TwainException.class, result.failure());
        assertTrue(failure.getMessage().endsWith("ended with exit code 137"), failure.getMessage());
        Waiting.scan("closing the session", () -> {
            session.close();
            return null;
        });
    }

    /** A close while a step, not a scan, waits for the hung bridge. */
    @ParameterizedTest
    @CsvSource({"0", "1"})
    void aCloseEndsAHungStep(int sourceOpen) throws Exception {
        ScanSession session = Bridges.isolated();
        if (sourceOpen == 1) {
            session.openSource();
        }
        Bridges.signal("STOP");
        Waiting.scan("closing a session whose bridge hangs", () -> {
            session.close();
            return null;
        });
    }

    @ParameterizedTest(name = "{0}")
    @CsvSource(delimiter = '|', value = {
        "a wrong greeting | printf '\\002\\000\\000\\000\\002\\000ab' | began with a message of kind 2",
        "a greeting cut short | printf '\\020\\000\\000' | ended with exit code 0",
        "a greeting too long | printf '\\377\\377\\377\\177\\001\\000' | announced a message of 2147483647 bytes",
        "nothing | exit 7 | ended with exit code 7",
        "no greeting | exec cat > /dev/null | ended with exit code 137",
        "a greeting that stops midway | printf '\\026\\000\\000\\000\\001\\000'; exec cat > /dev/null | ended with exit code 137",
        "another version | printf '\\026\\000\\000\\000\\001\\000\\001\\000\\000\\000\\100\\000\\000\\000\\005\\000\\000\\000\\060\\000.\\000\\060\\000.\\000\\060\\000'; exec cat > /dev/null | of version 0.0.0"})
    void aBridgeThatSaysNonsenseIsRefused(String what, String script, String expected,
            @TempDir Path folder) throws Exception {
        Path fake = folder.resolve("scanlink-bridge");
        Files.write(fake, ("#!/bin/sh\n" + script + "\n").getBytes(StandardCharsets.US_ASCII));
        Files.setPosixFilePermissions(fake, PosixFilePermissions.fromString("rwx------"));
        String real = System.getProperty("scanlink32.bridge.file");
        System.setProperty("scanlink32.bridge.file", fake.toString());
        try {
            TwainException refused = assertThrows(TwainException.class, Bridges::isolated);
            assertTrue(refused.getMessage().contains(expected), refused.getMessage());
        } finally {
            System.setProperty("scanlink32.bridge.file", real);
        }
    }

    /** A name that is not a full path, and a full path where no file is. */
    @ParameterizedTest
    @CsvSource({"false", "true"})
    void aBridgeFileNamedBadlyIsRefused(boolean full, @TempDir Path folder) throws IOException {
        String named = full ? folder.resolve("scanlink-bridge").toString() : "relative/scanlink-bridge";
        String real = System.getProperty("scanlink32.bridge.file");
        System.setProperty("scanlink32.bridge.file", named);
        try {
            TwainException refused = assertThrows(TwainException.class, Bridges::isolated);
            assertTrue(refused.getMessage().contains("must name the bridge program's file by its full path"),
                    refused.getMessage());
        } finally {
            System.setProperty("scanlink32.bridge.file", real);
        }
    }
}
