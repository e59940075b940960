package scanlink.natives;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.FileTime;
import java.nio.file.attribute.PosixFilePermissions;
import java.time.Instant;
import java.time.temporal.ChronoUnit;
import java.util.List;
import java.util.stream.Collectors;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/**
 * Which library a VM loads, each case in a VM of its own: the jar's copy, freshly written and
 * checked, unless the application names a file by its full path; never a planted one.
 */
class NativeLoadingTest {
    @TempDir Path cache;
    @TempDir Path work;

    Probe probe() {
        return new Probe(cache, work.resolve("planted-library-ran"));
    }

    Path natives() {
        return cache.resolve("scanlink32/natives");
    }

    List<Path> cacheFiles() throws IOException {
        try (Stream<Path> files = Files.walk(cache)) {
            return files.filter(f -> !Files.isDirectory(f)).sorted().collect(Collectors.toList());
        }
    }

    @Test
    void eachLoadWritesAFreshPrivateCopyAndRemovesItOnceLoaded() throws Exception {
        Probe probe = probe();
        List<String> first = probe.run();
        probe.assertLoadedAFreshCopy(first, cache);
        assertEquals(List.of(), cacheFiles());
        assertEquals("rwx------", PosixFilePermissions.toString(
                Files.getPosixFilePermissions(cache.resolve("scanlink32"))));
        assertEquals("rwx------",
                PosixFilePermissions.toString(Files.getPosixFilePermissions(natives())));

        List<String> second = probe.run();
        probe.assertLoadedAFreshCopy(second, cache);
        assertNotEquals(first.get(1), second.get(1));
    }

    @Test
    void aPlantedLibraryOnTheSearchPathsOrInTheCurrentFolderNeverRuns() throws Exception {
        Path folder = Probe.PLANTED.getParent();
        Probe probe = probe()
                .option("-Djava.library.path=" + folder)
                .environment("LD_LIBRARY_PATH", folder.toString())
                .in(folder);
        probe.assertLoadedAFreshCopy(probe.run(), cache);

        // The marker shows a planted library that is loaded: named, it does run, and it is then
        // refused, since it does not answer the binding's version.
        Probe named = probe().option("-Dscanlink32.library.file=" + Probe.PLANTED);
        List<String> lines = named.run();
        assertTrue(named.plantedLibraryRan());
        assertEquals("error scanlink32: " + Probe.PLANTED + ", named by the system property "
                + "scanlink32.library.file, is not a scanlink32 library: it does not tell its "
                + "version ('java.lang.String QZ.korvel.twain.NativeVersion.library()')",
                lines.get(0));
    }

    @Test
    void copiesSwappedAfterTheirCheckAreNeverLoadedAndStaleOnesAreSwept() throws Exception {
        Probe probe = probe();
        probe.assertLoadedAFreshCopy(probe.run(), cache);
        // Where an earlier load checked its copy, and where the hash-named copies used to lie.
        byte[] planted = Files.readAllBytes(Probe.PLANTED);
        Path fresh = natives().resolve("libscanlink32-0123456789abcdef0123456789abcdef.so");
        Path stale = natives().resolve("libscanlink32-fedcba9876543210fedcba9876543210.so");
        Path hashed = natives().resolve("libscanlink32-" + "ab".repeat(32) + ".so");
        Path other = natives().resolve("libother-0123456789abcdef0123456789abcdef.so");
        for (Path swapped : List.of(fresh, stale, hashed, other)) {
            Files.write(swapped, planted);
        }
        FileTime twoHoursAgo = FileTime.from(Instant.now().minus(2, ChronoUnit.HOURS));
        for (Path old : List.of(stale, hashed, other)) {
            Files.setLastModifiedTime(old, twoHoursAgo);
        }

        probe.assertLoadedAFreshCopy(probe.run(), cache);
        // A young copy may be one that another VM is about to load; the sweep leaves it.
        assertEquals(List.of(other, fresh), cacheFiles());
    }

    @Test
    void theNamedFileIsLoadedAsItIsAndOnlyByItsFullPath() throws Exception {
        Probe named = probe().option("-Dscanlink32.library.file=" + Probe.LIBRARY);
        assertEquals(List.of("state 0", "mapped " + Probe.LIBRARY.toRealPath()), named.run());
        assertEquals(List.of(), cacheFiles());

        Path folder = Probe.PLANTED.getParent();
        Probe relative = probe().option("-Dscanlink32.library.file=libscanlink32.so").in(folder);
        relative.assertRefused(relative.run(), "scanlink32: the system property "
                + "scanlink32.library.file must name the library's file by its full path, not "
                + "\"libscanlink32.so\"");

        Path missing = work.resolve("libscanlink32.so");
        Probe absent = probe().option("-Dscanlink32.library.file=" + missing);
        absent.assertRefused(absent.run(), "scanlink32: " + missing
                + ", named by the system property scanlink32.library.file, is not a file");
        assertEquals(List.of(), cacheFiles());
    }

    @Test
    void aJarWithoutTheLibraryIsNamed() throws Exception {
        Probe probe = probe().binding(Probe.JAR_WITHOUT_NATIVES)
                .option("-Djava.library.path=" + Probe.LIBRARY.getParent());
        probe.assertRefused(probe.run(), "scanlink32: the jar holds no library at "
                + Probe.RESOURCE + ", and the system property scanlink32.library.file names none");
    }
}
