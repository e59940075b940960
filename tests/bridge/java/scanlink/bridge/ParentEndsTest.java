package scanlink.bridge;

import static org.junit.jupiter.api.Assertions.assertEquals;

import QZ.korvel.twain.ScanSession;
import java.io.BufferedReader;
import java.io.File;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import java.util.stream.Collectors;
import org.junit.jupiter.api.Test;
import scanlink.testsupport.Waiting;

/** A bridge does not outlive the VM that started it, even while its driver hangs. */
class ParentEndsTest {
    @Test
    void aBridgeEndsWithItsParentThoughItsDriverHangs() throws Exception {
        List<String> command = new ArrayList<>();
        command.add(System.getProperty("java.home") + File.separator + "bin" + File.separator + "java");
        for (String property : new String[] {"java.library.path", "scanlink32.library.file",
                "scanlink32.bridge.file"}) {
            command.add("-D" + property + "=" + System.getProperty(property));
        }
        command.add("-cp");
        command.add(classPath(ParentThatDies.class, ScanSession.class, Waiting.class));
        command.add(ParentThatDies.class.getName());
        Process parent = new ProcessBuilder(command).redirectError(ProcessBuilder.Redirect.INHERIT)
                .start();
        try (BufferedReader said = new BufferedReader(
                new InputStreamReader(parent.getInputStream(), StandardCharsets.UTF_8))) {
            assertEquals("open", said.readLine());
            List<ProcessHandle> bridges = parent.toHandle().children().collect(Collectors.toList());
            assertEquals(1, bridges.size(), "the parent's bridges: " + bridges);
            ProcessHandle bridge = bridges.get(0);
            // A stopped bridge reads nothing: only the system's word of its parent's end ends it.
            Process stop = new ProcessBuilder("kill", "-STOP", Long.toString(bridge.pid()))
                    .inheritIO().start();
            assertEquals(0, stop.waitFor());
            parent.destroyForcibly();
            Waiting.until(() -> !bridge.isAlive(), "the bridge to end with its parent");
        } finally {
            parent.destroyForcibly();
        }
    }

    private static String classPath(Class<?>... classes) throws Exception {
        List<String> jars = new ArrayList<>();
        for (Class<?> in : classes) {
            jars.add(new File(in.getProtectionDomain().getCodeSource().getLocation().toURI())
                    .getPath());
        }
        return String.join(File.pathSeparator, jars);
    }
}
