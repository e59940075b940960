package scanlink.scan;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.TwainEx;
import QZ.korvel.twain.TwainException;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.TimeUnit;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Waiting;
import scanlink.virtualscanner.VirtualScanner;

/**
 * The scan program's sources, its report of settings the source does not take as asked, and its
 * checks of the output, through the real JVM against the virtual scanner.
 */
@ExtendWith(CleanSession.class)
class ScanProgramChecksTest {
    @TempDir Path folder;

    private final ByteArrayOutputStream out = new ByteArrayOutputStream();
    private final ByteArrayOutputStream err = new ByteArrayOutputStream();
    private PrintStream standardOut;
    private PrintStream standardErr;

    @BeforeEach
    void capture() {
        standardOut = System.out;
        standardErr = System.err;
        System.setOut(new PrintStream(out, true, StandardCharsets.UTF_8));
        System.setErr(new PrintStream(err, true, StandardCharsets.UTF_8));
    }

    @AfterEach
    void restore() {
        System.setOut(standardOut);
        System.setErr(standardErr);
    }

    static int run(String... args) throws Exception {
        return Scan.run(ScanOptions.parse(args));
    }

    String printed() {
        return out.toString(StandardCharsets.UTF_8);
    }

    String reported() {
        return err.toString(StandardCharsets.UTF_8);
    }

    @Test
    void listsTheSourcesOneALineProductNameFirstAndScansNothing() throws Exception {
        assertEquals(0, run("--list-sources"));
        String[] lines = printed().split(System.lineSeparator());
        assertEquals(2, lines.length, printed());
        assertTrue(lines[0].startsWith("Virtual Scanner  (scanlink32, Virtual Devices, version "),
                printed());
        assertEquals("Virtual Duplex Feeder  (scanlink32, Virtual Feeders, version 1.0, protocol "
                + "1.9)", lines[1]);
        assertEquals(0, VirtualScanner.logWithoutStatus().stream()
                .filter(t -> t.toSource()).count());
    }

    @Test
    void aSourceNameThatMatchesNoneFailsNamingItAndTheSourcesThatExist() {
        Path output = folder.resolve("x.png");
        TwainException e = assertThrows(TwainException.class,
                () -> run("--source", "Flatbed 9000", output.toString()));
        assertEquals("opening the source \"Flatbed 9000\" failed: no source is named \"Flatbed "
                + "9000\"; the sources are \"Virtual Scanner\", \"Virtual Duplex Feeder\"",
                e.getMessage());
        assertFalse(Files.exists(output));
    }

    @Test
    void describePrintsEachSupportedCapabilityWithItsValues() throws Exception {
        assertEquals(0, run("--describe"));
        String lines = printed();
        assertTrue(lines.contains("ICAP_PIXELTYPE (0x0101): 0, 1, 2; current 2; default 2"), lines);
        assertTrue(lines.contains("ICAP_BRIGHTNESS (0x1101): -1000 to 1000 step 0.0000152587890625;"
                + " current 0; default 0"), lines);
    }

    @Test
    void theDuplexFeederNamedScansBothSidesOfEachSheet() throws Exception {
        VirtualScanner.setKnob("feeder.sheets", 2);
        Path output = folder.resolve("duplex.pdf");
        assertEquals(4, run("--source", "Virtual Duplex Feeder", "--duplex", "--pages", "10",
                output.toString()));
        try (org.apache.pdfbox.pdmodel.PDDocument pdf =
                        org.apache.pdfbox.pdmodel.PDDocument.load(output.toFile())) {
            assertEquals(4, pdf.getNumberOfPages());
        }
        assertEquals("", reported());
    }

    @Test
    void duplexOnAFlatbedIsReportedAndStrictStops() {
        Exception e = assertThrows(Exception.class,
                () -> run("--duplex", "--strict", folder.resolve("d.pdf").toString()));
        assertEquals("nothing was scanned: the source does not scan as asked (--strict)",
                e.getMessage());
        assertTrue(reported().startsWith("scan: the source refused duplex: turning duplex on "
                + "failed (TWAIN result code 1 (TWRC_FAILURE), condition code 13 "
                + "(TWCC_CAPUNSUPPORTED), state 4)"), reported());
    }

    @Test
    void describeShowsEveryItemTypeOfTheDuplexFeeder() throws Exception {
        assertEquals(0, run("--describe", "--source", "Virtual Duplex Feeder"));
        String lines = printed();
        for (String expected : new String[] {
                 "CAP_SERIALNUMBER (0x1024): only \"VDF-2026-0042\"",
                 "ICAP_HALFTONES (0x1109): \"Bayer\", \"Spiral\", \"Diffusion\"; current \"Bayer\"",
                 "CAP_ALARMVOLUME (0x1019): 0 to 100 step 1; current 50; default 50",
                 "ICAP_FRAMES (0x1114): (0, 0)-(8.5, 11)",
                 "0x8002: 0, 64, 128, 192, 255; current 128; default 128",
                 "CAP_DUPLEXENABLED (0x1013): "}) {
            assertTrue(lines.contains(expected), expected + " in\n" + lines);
        }
    }

    @Test
    void aResolutionTheSourceChangesIsReportedWithWhatItScansAt() throws Exception {
        assertEquals(1, run("--resolution", "123", folder.resolve("a.png").toString()));
        assertEquals("scan: the source scans at 100 dpi, not 123 dpi as asked"
                + System.lineSeparator(), reported());
        assertTrue(Files.exists(folder.resolve("a.png")));
    }

    @Test
    void aFrameTheSourceCutsIsReportedAndStrictStops() {
        Path output = folder.resolve("a4.png");
        Exception e = assertThrows(Exception.class,
                () -> run("--strict", "--frame", "0,0,8.27,11.69", output.toString()));
        assertEquals("nothing was scanned: the source does not scan as asked (--strict)",
                e.getMessage());
        assertEquals("scan: the source scans the frame 0, 0, 8.27, 11 inches, not 0, 0, 8.27, "
                + "11.69 inches as asked" + System.lineSeparator(), reported());
        assertFalse(Files.exists(output));
    }

    @Test
    void aFrameTheSourceTakesAsAskedIsNoDifference() throws Exception {
        assertEquals(1, run("--strict", "--frame", "0.25,0.5,8.27,10.69",
                folder.resolve("framed.png").toString()));
        assertEquals("", reported());
    }

    /** A usage error is one line that points to --help, and the status is 2. */
    @ParameterizedTest(name = "scan {0}: {1}")
    @CsvSource(delimiter = '|', value = {
        "--bogus x.png | unexpected argument: --bogus",
        "--resolution 100000 x.png | --resolution needs a positive number below 32768, not 100000",
        "'' | no output file given",
        "--check report.txt | --check needs a report whose name ends in .html, not report.txt",
        "--check r.html x.png | --check writes a report, not x.png",
    })
    void aCommandLineThatCannotBeUsedIsOneLineThatPointsToHelp(String arguments, String message)
            throws Exception {
        List<String> command = new ArrayList<>(List.of(
                Path.of(System.getProperty("java.home"), "bin", "java").toString(), "-cp",
                System.getenv("SCAN_CLASS_PATH"), Scan.class.getName()));
        if (!arguments.isEmpty()) {
            command.addAll(List.of(arguments.split(" ")));
        }
        Process scan = new ProcessBuilder(command).start();
        if (!scan.waitFor(Waiting.BOUND_MILLIS, TimeUnit.MILLISECONDS)) {
            scan.destroyForcibly();
            throw new AssertionError("the scan program did not end");
        }
        assertEquals("", new String(scan.getInputStream().readAllBytes(), StandardCharsets.UTF_8));
        assertEquals("scan: " + message + " (scan --help lists the options)" + System.lineSeparator(),
                new String(scan.getErrorStream().readAllBytes(), StandardCharsets.UTF_8));
        assertEquals(2, scan.exitValue());
    }

    @Test
    void strictStopsBeforeAnythingIsScanned() {
        Path output = folder.resolve("b.png");
        Exception e = assertThrows(Exception.class,
                () -> run("--strict", "--resolution", "250", output.toString()));
        assertEquals("nothing was scanned: the source does not scan as asked (--strict)",
                e.getMessage());
        assertTrue(reported().contains("not 250 dpi as asked"), reported());
        assertEquals(0, VirtualScanner.logWithoutStatus().stream()
                .filter(t -> t.is(1, 9, 0x0502)).count()); // no MSG_ENABLEDS
        assertFalse(Files.exists(output));
    }

    @Test
    void anOutputThatCannotBeWrittenFailsBeforeTheScan() {
        Path missing = folder.resolve("no such folder").resolve("scan.pdf");
        IOException e = assertThrows(IOException.class, () -> run(missing.toString()));
        assertEquals("cannot write " + missing + ": the folder " + missing.getParent()
                + " does not exist", e.getMessage());
        assertEquals(0, VirtualScanner.log().size());
        assertTrue(TwainEx.getState() <= 1);
    }

    @Test
    void aWriteThatFailsLaterNamesTheFileKeepsThePagesWrittenAndFails() throws Exception {
        Path output = folder.resolve("page.png");
        Files.createDirectory(folder.resolve("page-2.png")); // page 2 cannot become a file
        IOException e = assertThrows(IOException.class,
                () -> run("--pages", "3", output.toString()));
        assertTrue(e.getMessage().startsWith("cannot write " + folder.resolve("page-2.png") + ": "),
                e.getMessage());
        assertFalse(e.getMessage().contains("\n"));
        assertTrue(Files.isRegularFile(folder.resolve("page-1.png")));
        assertEquals(1, TwainEx.getState());
    }
}
