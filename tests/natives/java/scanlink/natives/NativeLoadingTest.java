package scanlink.natives;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;

import java.io.File;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.FileTime;
import java.security.MessageDigest;
import java.util.ArrayList;
import java.util.HexFormat;
import java.util.List;
import java.util.stream.Collectors;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/**
 * How the binding finds its library, each case in a VM of its own: from java.library.path first,
 * else from the jar through a per-user cache that holds it under its SHA-256.
 */
class NativeLoadingTest {
    static final Path LIBRARY = Path.of(System.getenv("SCANLINK_LIBRARY"));
    static final String JAR_WITH_NATIVES = System.getenv("JAR_WITH_NATIVES");
    static final String JAR_WITHOUT_NATIVES = System.getenv("JAR_WITHOUT_NATIVES");
    static final String PROBE = System.getenv("PROBE_JAR");
    static final String RESOURCE = "natives/linux-x86_64/libscanlink32.so";

    @TempDir Path cache;
    @TempDir Path emptyFolder;

    /** What the probe printed, line by line. */
    List<String> probe(String bindingJar, String libraryPath, Path cacheHome)
            throws IOException, InterruptedException {
        ProcessBuilder builder = new ProcessBuilder(
                Path.of(System.getProperty("java.home"), "bin", "java").toString(),
                "-Djava.library.path=" + libraryPath,
                "-cp", bindingJar + File.pathSeparator + PROBE, LoadProbe.class.getName());
        builder.environment().put("XDG_CACHE_HOME", cacheHome.toString());
        builder.redirectErrorStream(true);
        Process process = builder.start();
        String output = new String(process.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        assertEquals(0, process.waitFor(), output);
        return output.lines().collect(Collectors.toList());
    }

    static String sha256(byte[] bytes) throws Exception {
        return HexFormat.of().formatHex(MessageDigest.getInstance("SHA-256").digest(bytes));
    }

    Path cachedCopy() throws Exception {
        return cache.resolve("scanlink32/natives/libscanlink32-"
                + sha256(Files.readAllBytes(LIBRARY)) + ".so");
    }

    List<Path> cacheContents() throws IOException {
        try (Stream<Path> files = Files.walk(cache)) {
            return files.filter(Files::isRegularFile).collect(Collectors.toList());
        }
    }

    @Test
    void withoutTheLibraryOnThePathItIsCopiedOnceIntoTheCacheAndLoadedFromThere()
            throws Exception {
        Path copy = cachedCopy();
        List<String> first = probe(JAR_WITH_NATIVES, emptyFolder.toString(), cache);
        assertEquals(List.of("state 0", "mapped " + copy), first);
        assertEquals(List.of(copy), cacheContents());
        assertArrayEquals(Files.readAllBytes(LIBRARY), Files.readAllBytes(copy));
        Object fileKey = Files.readAttributes(copy, "unix:ino").get("ino");
        FileTime written = Files.getLastModifiedTime(copy);

        assertEquals(first, probe(JAR_WITH_NATIVES, emptyFolder.toString(), cache));
        assertEquals(fileKey, Files.readAttributes(copy, "unix:ino").get("ino"));
        assertEquals(written, Files.getLastModifiedTime(copy));
    }

    @Test
    void aCopyThatNoLongerMatchesItsHashIsReplacedBeforeTheLoad() throws Exception {
        Path copy = cachedCopy();
        Files.createDirectories(copy.getParent());
        Files.write(copy, "not the library".getBytes(StandardCharsets.US_ASCII));
        assertEquals(List.of("state 0", "mapped " + copy),
                probe(JAR_WITH_NATIVES, emptyFolder.toString(), cache));
        assertArrayEquals(Files.readAllBytes(LIBRARY), Files.readAllBytes(copy));
        assertEquals(List.of(copy), cacheContents());
    }

    @Test
    void theLibraryOnThePathComesFirst() throws Exception {
        assertEquals(List.of("state 0", "mapped " + LIBRARY.toRealPath()),
                probe(JAR_WITH_NATIVES, LIBRARY.getParent().toString(), cache));
        assertEquals(List.of(), cacheContents());
    }

    @Test
    void aMissingLibraryIsNamedWithWhereItWasLookedFor() throws Exception {
        List<String> lines = probe(JAR_WITHOUT_NATIVES, emptyFolder.toString(), cache);
        assertEquals(List.of("error scanlink32: libscanlink32.so is neither on java.library.path ("
                + emptyFolder + ") nor in the jar at " + RESOURCE), lines);
    }

    @Test
    void aCacheThatCannotBeWrittenIsNamed() throws Exception {
        Path notAFolder = cache.resolve("file");
        Files.writeString(notAFolder, "");
        List<String> lines = probe(JAR_WITH_NATIVES, emptyFolder.toString(), notAFolder);
        assertEquals(1, lines.size(), lines.toString());
        String expected = "error scanlink32: cannot copy " + RESOURCE + " to "
                + notAFolder.resolve("scanlink32/natives") + "/libscanlink32-";
        assertEquals(expected, lines.get(0).substring(0, Math.min(expected.length(),
                                                                   lines.get(0).length())));
        assertFalse(lines.get(0).contains("mapped"));
    }
}
