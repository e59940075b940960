package QZ.korvel.twain;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.List;
import java.util.concurrent.TimeUnit;
import java.util.stream.Collectors;
import org.junit.jupiter.api.Test;

/**
 * A source that answers a read with an array larger than the library can parse in the memory the
 * process has, as in a 32-bit VM: the failed allocation reaches Java as an OutOfMemoryError that
 * names the native method, and the VM and the session go on. The probe's VM runs with its address
 * space limited, so that the allocation fails on any machine.
 */
class LargeContainerTest {
    /** The address space of the probe's VM, in KiB: room for the VM and the source's block. */
    static final long ADDRESS_SPACE_KIB = 1536 * 1024;

    /** Items of one byte each: a block of 160 MiB, parsed into more than the room that is left. */
    static final int ITEMS = 160 << 20;

    @Test
    void anArrayTooLargeToParseIsAnOutOfMemoryErrorAndTheSessionGoesOn() throws Exception {
        ProcessBuilder builder = new ProcessBuilder("sh", "-c", "ulimit -v " + ADDRESS_SPACE_KIB
                + " && exec \"$0\" \"$@\"",
                Path.of(System.getProperty("java.home"), "bin", "java").toString(),
                "-Xcheck:jni", "-Xmx64m", "-XX:ReservedCodeCacheSize=32m",
                "-XX:CompressedClassSpaceSize=32m", "-XX:+UseSerialGC",
                "-Djava.library.path=" + System.getenv("PROBE_LIBRARY_PATH"),
                "-Dscanlink32.library.file=" + System.getProperty("scanlink32.library.file"),
                "-cp", System.getenv("PROBE_CLASS_PATH"), LargeContainerProbe.class.getName(),
                Integer.toString(ITEMS)).redirectErrorStream(true);
        // One malloc arena: each further one reserves address space of its own.
        builder.environment().put("MALLOC_ARENA_MAX", "1");
        Process process = builder.start();
        if (!process.waitFor(120, TimeUnit.SECONDS)) {
            process.destroyForcibly();
            throw new AssertionError("the probe with a large container did not end");
        }
        String output = new String(process.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        List<String> lines = output.lines().collect(Collectors.toList());
        assertEquals(0, process.exitValue(), output);
        assertEquals(List.of("OutOfMemoryError: scanlink32: readCapability failed: the library ran "
                + "out of memory", "state 1"), lines, output);
    }
}
