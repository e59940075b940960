package scanlink.natives;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.File;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.TimeUnit;
import java.util.stream.Stream;
import org.junit.jupiter.api.DynamicTest;
import org.junit.jupiter.api.TestFactory;
import org.junit.jupiter.api.io.TempDir;

/**
 * No order of first uses of the binding's public classes, from several threads at once, may
 * deadlock: the library's load hook registers natives while the loading thread holds TwainEx's
 * initialisation. Each case runs in a fresh VM, the threads released together, once with the
 * library named by its path and once with the jar's copy, whose load takes longer.
 */
class FirstUsesTest {
    static final List<String> PUBLIC_CLASSES =
            List.of("TwainEx", "Trace", "ScanSession", "Version");

    @TempDir static Path caches;

    @TestFactory
    Stream<DynamicTest> everyPairOfFirstUsesAtOnceEnds() {
        List<List<String>> cases = new ArrayList<>();
        for (int i = 0; i < PUBLIC_CLASSES.size(); i++) {
            for (int j = i; j < PUBLIC_CLASSES.size(); j++) {
                cases.add(List.of(PUBLIC_CLASSES.get(i), PUBLIC_CLASSES.get(j)));
            }
        }
        cases.add(PUBLIC_CLASSES);
        return cases.stream().flatMap(uses -> Stream.of(
                DynamicTest.dynamicTest(uses + " with the named library",
                        () -> assertEnds(uses, true)),
                DynamicTest.dynamicTest(uses + " with the jar's copy",
                        () -> assertEnds(uses, false))));
    }

    static void assertEnds(List<String> uses, boolean named)
            throws IOException, InterruptedException {
        List<String> command = new ArrayList<>();
        command.add(Path.of(System.getProperty("java.home"), "bin", "java").toString());
        command.add("-Xcheck:jni");
        command.add("-Djava.awt.headless=true");
        if (named) {
            command.add("-Dscanlink32.library.file=" + Probe.LIBRARY);
        }
        command.addAll(List.of("-cp",
                (named ? Probe.JAR_WITHOUT_NATIVES : Probe.JAR_WITH_NATIVES) + File.pathSeparator
                        + Probe.PROBE_JAR,
                FirstUses.class.getName()));
        command.addAll(uses);
        ProcessBuilder builder = new ProcessBuilder(command).redirectErrorStream(true);
        builder.environment().put("XDG_CACHE_HOME",
                Files.createTempDirectory(caches, "cache").toString());
        Process process = builder.start();
        // The child gives up after 30 s and prints where its threads wait; this is the bound on a
        // child that cannot even do that.
        if (!process.waitFor(90, TimeUnit.SECONDS)) {
            process.destroyForcibly();
            throw new AssertionError("the first uses of " + uses + " at once did not end");
        }
        String output = new String(process.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        assertEquals(0, process.exitValue(), output);
        assertTrue(output.contains("ended"),
                "the first uses of " + uses + " at once did not end:\n" + output);
        assertFalse(output.contains("WARNING in native method"), output);
    }
}
