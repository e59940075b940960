package scanlink.trace;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.Trace;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Waiting;

/**
 * A trace started from outside the program: this test runs with SCANLINK_TRACE naming one file and
 * the binding's property naming another. The library starts the first when it is loaded, and the
 * binding moves the trace to the second right after.
 */
@ExtendWith(CleanSession.class)
class StartedOutsideTest {
    @Test
    void theEnvironmentStartsTheTraceAndThePropertyMovesIt() throws Exception {
        Path fromEnvironment = Paths.get(System.getenv("SCANLINK_TRACE"));
        Path fromProperty = Paths.get(System.getProperty(Trace.PROPERTY));
        try (ScanSession session = ScanSession.open("scanlink32", "Tests", "Outside")) {
            session.openSource();
            session.setShowUserInterface(false);
            assertEquals(1, Waiting.scan("the traced scan", () -> session.scan(1)).pageCount());
        } finally {
            Trace.stop();
        }
        String first = new String(Files.readAllBytes(fromEnvironment), StandardCharsets.UTF_8);
        String second = new String(Files.readAllBytes(fromProperty), StandardCharsets.UTF_8);
        assertTrue(first.contains("trace started"), first);
        assertFalse(first.contains("MSG_OPENDSM"), first);
        assertTrue(second.contains("DG_CONTROL/DAT_PARENT/MSG_OPENDSM"), second);
        assertTrue(second.contains("page delivered"), second);
    }
}
