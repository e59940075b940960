package scanlink.scan.check;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.TreeSet;
import java.util.concurrent.TimeUnit;
import java.util.stream.Collectors;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.params.provider.MethodSource;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Twain;
import scanlink.testsupport.Waiting;
import scanlink.virtualscanner.VirtualScanner;

/**
 * The driver check against the virtual sources: with nothing broken every check passes; with one
 * behaviour broken, the report fails exactly the checks of that behaviour, saying why, and quotes
 * the triplets that showed it.
 */
@ExtendWith(CleanSession.class)
class DriverCheckTest {
    private static final String FLATBED = "Virtual Scanner";
    private static final String DUPLEX = "Virtual Duplex Feeder";
    private static final int DAT_IMAGEINFO = 0x0101;
    private static final int MSG_QUERYSUPPORT = 0x0008;
    private static final List<String> TRANSFERS =
            List.of("transfer native bw", "transfer native gray", "transfer native rgb");

    @TempDir Path folder;

    /** A broken behaviour: knobs and scripted answers set before the check. */
    private interface Fault {
        void apply();
    }

    private static Fault knob(String name, long value) {
        return () -> VirtualScanner.setKnob(name, value);
    }

    private static Fault script(int dg, int dat, int msg, int times) {
        return () -> VirtualScanner.script(dg, dat, msg, Twain.TWRC_FAILURE, Twain.TWCC_BUMMER,
                times);
    }

    private static Arguments row(String source, Fault fault, List<String> failing, String why) {
        return Arguments.of(source, fault, Verdict.FAIL, failing, why);
    }

    private static Arguments warning(String source, Fault fault, List<String> warned, String why) {
        return Arguments.of(source, fault, Verdict.WARN, warned, why);
    }

    static Stream<Arguments> faults() {
        return Stream.of(
                row(FLATBED, () -> {}, List.of(), null),
                row(DUPLEX, () -> {}, List.of(), null),
                row(FLATBED, script(Twain.DG_CONTROL, Twain.DAT_IDENTITY, Twain.MSG_CLOSEDS, 1),
                        List.of("open and close"), "not closed"),
                row(FLATBED, knob("ICAP_BRIGHTNESS.step", 0),
                        List.of("capability ICAP_BRIGHTNESS"), "a range whose step is 0"),
                row(DUPLEX, knob("CAP_AUTHOR.unterminated", 1),
                        List.of("capability CAP_AUTHOR"), "malformed"),
                row(FLATBED, knob("ICAP_AUTOBRIGHT.itemType", 4),
                        List.of("capability ICAP_AUTOBRIGHT"),
                        "answers items of TWTY_UINT16; the standard gives TWTY_BOOL"),
                row(FLATBED, knob("ICAP_HIGHLIGHT.item", 300),
                        List.of("capability ICAP_HIGHLIGHT"), "outside the range"),
                row(FLATBED, knob("CAP_INDICATORS.blockSize", 3),
                        List.of("capability CAP_INDICATORS"), "malformed"),
                warning(FLATBED,
                        script(Twain.DG_CONTROL, Twain.DAT_CAPABILITY, MSG_QUERYSUPPORT, 1),
                        List.of("capability CAP_XFERCOUNT"), "does not answer MSG_QUERYSUPPORT"),
                // The item bends MSG_QUERYSUPPORT's answer too.
                row(FLATBED, knob("CAP_XFERCOUNT.item", 5),
                        List.of("capability CAP_XFERCOUNT", "setting CAP_XFERCOUNT"),
                        "asked CAP_XFERCOUNT 1, the source tells 5"),
                row(FLATBED, script(Twain.DG_IMAGE, Twain.DAT_IMAGELAYOUT, Twain.MSG_SET, -1),
                        List.of("setting the frame"), "setting the frame"),
                row(FLATBED, knob("imageinfo.width_error", 3), TRANSFERS,
                        "DAT_IMAGEINFO does not describe the page: it tells 853 x 1100 pixels"),
                row(DUPLEX, script(Twain.DG_IMAGE, DAT_IMAGEINFO, Twain.MSG_GET, -1), TRANSFERS,
                        "DAT_IMAGEINFO was refused in state 6"),
                row(FLATBED, script(Twain.DG_CONTROL, Twain.DAT_PENDINGXFERS, Twain.MSG_RESET, 1),
                        List.of("cancel in state 6"), "left the source in state 6"),
                row(FLATBED, knob("endxfer.count", 0), List.of("feeder CAP_XFERCOUNT -1"),
                        "still holds paper"),
                row(DUPLEX, knob("endxfer.count", 0),
                        List.of("feeder duplex", "feeder CAP_XFERCOUNT -1"), "Count [0]"));
    }

    @ParameterizedTest(name = "{0}, fault {index}: {2} {3}")
    @MethodSource("faults")
    void eachBrokenBehaviourFailsItsOwnChecksOnly(String source, Fault fault, Verdict verdict,
            List<String> checks, String why) throws Exception {
        VirtualScanner.setKnob("feeder.sheets", Feeder.SHEETS_NEEDED);
        fault.apply();
        Report report = DriverCheck.report(folder.resolve("report.html"), source, 30_000);
        String text = TextReport.of(report, "trace");
        assertEquals(source, report.source().productName());
        List<CheckResult> flagged = report.checks().stream()
                .filter(c -> c.verdict() != Verdict.PASS).collect(Collectors.toList());
        assertEquals(new TreeSet<>(checks), names(flagged), text);
        assertEquals(verdict == Verdict.FAIL && !checks.isEmpty(), report.failed(), text);
        for (CheckResult check : flagged) {
            assertEquals(verdict, check.verdict(), text);
            for (Finding finding : check.findings()) {
                assertFalse(finding.verdict() == verdict && finding.triplets().isEmpty(),
                        finding.text());
            }
        }
        if (why != null) {
            assertTrue(flagged.stream().flatMap(c -> c.findings().stream())
                    .anyMatch(f -> f.verdict() == verdict && f.text().contains(why)), text);
        }
    }

    private static Set<String> names(List<CheckResult> checks) {
        return checks.stream().map(CheckResult::name).collect(Collectors.toCollection(TreeSet::new));
    }

    @Test
    void theReportItsTwinAndTheTraceLieSideBySideAndQuoteTheTripletsOfAFailure() throws Exception {
        VirtualScanner.setKnob("feeder.sheets", Feeder.SHEETS_NEEDED);
        VirtualScanner.setKnob("imageinfo.width_error", 3);
        Path html = folder.resolve("driver.html");
        assertTrue(DriverCheck.run(html, null, new java.io.PrintStream(
                new java.io.ByteArrayOutputStream(), true, StandardCharsets.UTF_8)));
        String page = Files.readString(html);
        String text = Files.readString(folder.resolve("driver.txt"));
        String trace = Files.readString(folder.resolve("driver.trace"));
        String quoted = "DG_IMAGE/DAT_IMAGEINFO/MSG_GET to source -> TWRC_SUCCESS TWCC_SUCCESS: "
                + "XResolution 100 YResolution 100 ImageWidth 853";
        assertTrue(page.contains(HtmlReport.escape(quoted)), page);
        assertTrue(text.contains(quoted), text);
        assertTrue(trace.contains(quoted), trace);
        assertTrue(page.contains("<span class=\"FAIL\">FAIL</span> transfer native rgb</h2>"), page);
        assertTrue(text.contains("FAIL  transfer native rgb"), text);
        // A pass quotes what decided it too, in both.
        String passed = "DG_CONTROL/DAT_CAPABILITY/MSG_QUERYSUPPORT to source ICAP_PIXELTYPE -> "
                + "TWRC_SUCCESS TWCC_SUCCESS: TWON_ONEVALUE TWTY_INT32 31";
        assertTrue(page.contains(HtmlReport.escape(passed)), page);
        assertTrue(text.contains(passed), text);
        assertTrue(text.contains("source opened: \"Virtual Scanner\""), text);
        assertTrue(text.contains(" manager "), text);
        assertTrue(trace.startsWith("# scanlink32 "), trace);
    }

    /** The scan program as a user runs it: its status says whether a check failed. */
    @ParameterizedTest(name = "knobs [{0}]: status {1}")
    @CsvSource(delimiter = '|', value = {
        "'' | 0 | 48 checks: 48 passed, 0 warned, 0 failed",
        "imageinfo.width_error=3 | 1 | 48 checks: 45 passed, 0 warned, 3 failed",
    })
    void theProgramsStatusSaysWhetherACheckFailed(String knobs, int status, String summary)
            throws Exception {
        Path report = folder.resolve("status.html");
        List<String> command = new ArrayList<>(List.of(
                Path.of(System.getProperty("java.home"), "bin", "java").toString(),
                "-Xcheck:jni", "-Djava.awt.headless=true",
                "-Dscanlink32.library.file=" + System.getProperty("scanlink32.library.file"),
                "-cp", System.getenv("SCAN_CLASS_PATH"), "scanlink.scan.Scan", "--check",
                report.toString(), "--source", FLATBED));
        ProcessBuilder builder = new ProcessBuilder(command).redirectErrorStream(true);
        Map<String, String> environment = builder.environment();
        environment.put("VIRTUAL_SCANNER_FEEDER_SHEETS", String.valueOf(Feeder.SHEETS_NEEDED));
        String inherited = environment.getOrDefault("VIRTUAL_SCANNER_KNOBS", "");
        environment.put("VIRTUAL_SCANNER_KNOBS", String.join(",",
                Stream.of(inherited, knobs).filter(k -> !k.isEmpty()).toList()));
        Process scan = builder.start();
        if (!scan.waitFor(Waiting.BOUND_MILLIS, TimeUnit.MILLISECONDS)) {
            scan.destroyForcibly();
            throw new AssertionError("the driver check did not end");
        }
        String printed = new String(scan.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        assertTrue(printed.contains(summary + ". The report is " + report), printed);
        assertEquals(status, scan.exitValue(), printed);
        assertTrue(Files.readString(folder.resolve("status.txt")).contains(summary));
    }

    @Test
    void aSourceThatNeverAnnouncesItsPageHasEachWaitEndedAtTheLimit() throws Exception {
        VirtualScanner.setKnob("page.delay_ms", 600_000);
        Report report = DriverCheck.report(folder.resolve("slow.html"), FLATBED, 2_000);
        Set<String> failed = names(report.checks().stream()
                .filter(c -> c.verdict() == Verdict.FAIL).collect(Collectors.toList()));
        assertTrue(failed.containsAll(TRANSFERS), failed.toString());
        assertTrue(TextReport.of(report, "trace").contains(
                "waiting for MSG_XFERREADY: no answer within 2.0 s, the wait was ended"));
    }
}
