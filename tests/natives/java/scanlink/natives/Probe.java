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
import java.util.Map;
import java.util.TreeMap;
import java.util.regex.Pattern;
import java.util.stream.Collectors;

/**
 * A VM of its own that runs {@link LoadProbe} with the binding, a cache root and a marker file that
 * the planted library writes if it ever runs; what the probe printed, line by line.
 */
final class Probe {
    static final Path LIBRARY = Path.of(System.getenv("SCANLINK_LIBRARY"));
    static final Path PLANTED = Path.of(System.getenv("PLANTED_LIBRARY"));
    static final String JAR_WITH_NATIVES = System.getenv("JAR_WITH_NATIVES");
    static final String JAR_WITHOUT_NATIVES = System.getenv("JAR_WITHOUT_NATIVES");
    static final String PROBE_JAR = System.getenv("PROBE_JAR");
    static final String RESOURCE = "natives/linux-x86_64/libscanlink32.so";

    private final List<String> options = new ArrayList<>();
    private final Map<String, String> environment = new TreeMap<>();
    private String bindingJar = JAR_WITH_NATIVES;
    private String mainClass = LoadProbe.class.getName();
    private Path folder;
    final Path marker;

    Probe(Path cacheRoot, Path marker) {
        this.marker = marker;
        environment.put("XDG_CACHE_HOME", cacheRoot.toString());
        environment.put("PLANTED_MARKER", marker.toString());
    }

    Probe option(String option) {
        options.add(option);
        return this;
    }

    Probe environment(String name, String value) {
        environment.put(name, value);
        return this;
    }

    Probe withoutEnvironment(String name) {
        environment.put(name, null);
        return this;
    }

    /** Runs another main class of the probe's jar. */
    Probe main(String className) {
        mainClass = className;
        return this;
    }

    Probe binding(String jar) {
        bindingJar = jar;
        return this;
    }

    /** The probe's working folder, which is the VM's current folder. */
    Probe in(Path workingFolder) {
        folder = workingFolder;
        return this;
    }

    List<String> run() throws IOException, InterruptedException {
        List<String> command = new ArrayList<>();
        command.add(Path.of(System.getProperty("java.home"), "bin", "java").toString());
        command.addAll(options);
        command.addAll(List.of("-cp", bindingJar + File.pathSeparator + PROBE_JAR, mainClass));
        ProcessBuilder builder = new ProcessBuilder(command);
        environment.forEach((name, value) -> {
            if (value == null) {
                builder.environment().remove(name);
            } else {
                builder.environment().put(name, value);
            }
        });
        if (folder != null) {
            builder.directory(folder.toFile());
        }
        builder.redirectErrorStream(true);
        Process process = builder.start();
        String output = new String(process.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        assertEquals(0, process.waitFor(), output);
        return output.lines().collect(Collectors.toList());
    }

    boolean plantedLibraryRan() {
        return Files.exists(marker);
    }

    /**
     * The probe worked with a copy of the jar's library, written under a random name into the
     * natives folder of the cache and removed once loaded; the planted library never ran.
     */
    void assertLoadedAFreshCopy(List<String> lines, Path cacheRoot) {
        assertEquals(2, lines.size(), lines.toString());
        assertEquals("state 0", lines.get(0));
        String copy = Pattern.quote(cacheRoot.resolve("scanlink32/natives") + "/libscanlink32-")
                + "[0-9a-f]{32}\\.so \\(deleted\\)";
        assertTrue(lines.get(1).matches("mapped " + copy), lines.get(1));
        assertFalse(plantedLibraryRan(), "the planted library ran");
    }

    /** The probe failed to load with exactly this message, and nothing of the library is mapped. */
    void assertRefused(List<String> lines, String message) {
        assertEquals(List.of("error " + message), lines);
        assertFalse(plantedLibraryRan(), "the planted library ran");
    }
}
