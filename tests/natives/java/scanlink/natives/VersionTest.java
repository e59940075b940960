package scanlink.natives;

import static org.junit.jupiter.api.Assertions.assertEquals;

import QZ.korvel.twain.Version;
import java.nio.file.Path;
import java.util.List;
import java.util.jar.Attributes;
import java.util.jar.JarFile;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/**
 * One version throughout: the binding's, the jar's manifest and the library's agree, a library of
 * another version is refused by name, and a load that failed is told again by every later use.
 */
class VersionTest {
    @TempDir Path cache;
    @TempDir Path work;

    @Test
    void theBindingTheManifestAndTheLibraryTellOneVersion() throws Exception {
        try (JarFile jar = new JarFile(Probe.JAR_WITHOUT_NATIVES)) {
            Attributes manifest = jar.getManifest().getMainAttributes();
            assertEquals(Version.binding(), manifest.getValue("Implementation-Version"));
            assertEquals("QZ.korvel.twain", manifest.getValue("Automatic-Module-Name"));
            assertEquals(Version.coordinates(), manifest.getValue("Maven-Coordinates"));
            assertEquals(Version.coordinates(), manifest.getValue("Implementation-Vendor-Id")
                    + ":scanlink32:" + Version.binding());
        }
        assertEquals(Version.binding(), Version.library());
        assertEquals(true, Version.binding().matches("\\d+\\.\\d+\\.\\d+"), Version.binding());
    }

    @Test
    void aLibraryOfAnotherVersionIsRefused() throws Exception {
        Path other = Path.of(System.getenv("OTHER_VERSION_LIBRARY"));
        Probe probe = new Probe(cache, work.resolve("marker"))
                .option("-Dscanlink32.library.file=" + other);
        // Loaded, as its version can only be asked of it loaded, and refused.
        assertEquals(List.of("error scanlink32: " + other + ", named by the system property "
                + "scanlink32.library.file, is version 0.0.1, and the binding version "
                + Version.binding() + "; they must be one", "mapped " + other), probe.run());
    }

    @Test
    void aFailedLoadIsToldAgainByEveryLaterUse() throws Exception {
        Path missing = work.resolve("libscanlink32.so");
        String reason = "scanlink32: " + missing + ", named by the system property "
                + "scanlink32.library.file, is not a file";
        List<String> lines = new Probe(cache, work.resolve("marker"))
                .option("-Dscanlink32.library.file=" + missing)
                .main(LaterUsesProbe.class.getName()).run();
        assertEquals(List.of("first UnsatisfiedLinkError " + reason + " | no cause",
                "Trace.stop UnsatisfiedLinkError " + reason + " | " + reason,
                "Trace.start UnsatisfiedLinkError " + reason + " | " + reason,
                "ScanSession.open UnsatisfiedLinkError " + reason + " | " + reason,
                "Version.library UnsatisfiedLinkError " + reason + " | " + reason), lines);
    }
}
