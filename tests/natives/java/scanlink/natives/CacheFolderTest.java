package scanlink.natives;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/**
 * The folder that receives the copies, each case in a VM of its own: a folder that someone else
 * could write, a link, or a root that is not a full path is refused with its reason, and the
 * planted library waiting there never runs.
 */
class CacheFolderTest {
    @TempDir Path cache;
    @TempDir Path work;

    Probe probe() {
        return new Probe(cache, work.resolve("planted-library-ran"));
    }

    Path scanlink32() {
        return cache.resolve("scanlink32");
    }

    Path natives() {
        return cache.resolve("scanlink32/natives");
    }

    static void setMode(Path path, String permissions) throws Exception {
        Files.setPosixFilePermissions(path, PosixFilePermissions.fromString(permissions));
    }

    static String refusal(Path folder, String reason) {
        return "scanlink32: the folder " + folder + " " + reason
                + "; the library is not loaded from there";
    }

    @Test
    void aFolderThatOthersCanWriteIsRefused() throws Exception {
        Files.createDirectories(natives());
        setMode(natives(), "rwxrwxrwx");
        Probe probe = probe();
        probe.assertRefused(probe.run(),
                refusal(natives(), "can be written by others (mode 0777)"));

        setMode(natives(), "rwx------");
        setMode(scanlink32(), "rwxrwx---");
        probe.assertRefused(probe.run(),
                refusal(scanlink32(), "can be written by others (mode 0770)"));

        // Above the library's own folders, others may write only where they cannot rename.
        setMode(scanlink32(), "rwx------");
        setMode(cache, "rwxrwxrwx");
        probe.assertRefused(probe.run(), refusal(cache, "can be written by others (mode 0777)"));
        Files.setAttribute(cache, "unix:mode", 01777);
        probe.assertLoadedAFreshCopy(probe.run(), cache);
    }

    @Test
    void aFolderOfAnotherUserIsRefused() throws Exception {
        assumeTrue((Integer) Files.getAttribute(cache, "unix:uid") == 0,
                "only root can give a folder to another user");
        Files.createDirectories(natives());
        Files.setAttribute(natives(), "unix:uid", 65534);
        Probe probe = probe();
        probe.assertRefused(probe.run(),
                refusal(natives(), "belongs to user 65534, not to this user (0)"));

        Files.setAttribute(natives(), "unix:uid", 0);
        Files.setAttribute(cache, "unix:uid", 65534);
        probe.assertRefused(probe.run(),
                refusal(cache, "belongs to user 65534, neither this user (0) nor root"));
    }

    @Test
    void aLinkInTheLibrarysFoldersIsRefused() throws Exception {
        // A folder of planted copies, each under a name that a copy could have.
        Path elsewhere = Files.createDirectories(work.resolve("elsewhere/natives"));
        Files.copy(Probe.PLANTED,
                elsewhere.resolve("libscanlink32-0123456789abcdef0123456789abcdef.so"));
        Files.createDirectories(scanlink32());
        Files.createSymbolicLink(natives(), elsewhere);
        Probe probe = probe();
        String linkRefused = "is a link, which the library's folders may not be";
        probe.assertRefused(probe.run(), refusal(natives(), linkRefused));

        Files.delete(natives());
        Files.delete(scanlink32());
        Files.createSymbolicLink(scanlink32(), elsewhere.getParent());
        probe.assertRefused(probe.run(), refusal(scanlink32(), linkRefused));

        // A link named like a copy inside the real folder is neither followed nor removed.
        Files.delete(scanlink32());
        Files.createDirectories(natives());
        Path link = natives().resolve("libscanlink32-fedcba9876543210fedcba9876543210.so");
        Files.createSymbolicLink(link, Probe.PLANTED);
        probe.assertLoadedAFreshCopy(probe.run(), cache);
        assertTrue(Files.isSymbolicLink(link));
    }

    @Test
    void aCacheRootThatIsNotAFullPathIsRefused() throws Exception {
        Probe relative = probe().environment("XDG_CACHE_HOME", "cache").in(work);
        relative.assertRefused(relative.run(),
                "scanlink32: the cache folder cache (from XDG_CACHE_HOME) is not an absolute path");

        Probe home =
                probe().withoutEnvironment("XDG_CACHE_HOME").option("-Duser.home=home").in(work);
        home.assertRefused(home.run(), "scanlink32: the cache folder home/.cache (from user.home) "
                + "is not an absolute path");
        assertEquals(List.of(), Files.list(work).toList());
    }

    @Test
    void aCacheThatCannotBeMadeIsNamed() throws Exception {
        Path notAFolder = cache.resolve("file");
        Files.writeString(notAFolder, "");
        Probe probe = new Probe(notAFolder, work.resolve("planted-library-ran"));
        List<String> lines = probe.run();
        assertEquals(1, lines.size(), lines.toString());
        assertTrue(lines.get(0).startsWith("error scanlink32: cannot make the folder "
                + notAFolder.resolve("scanlink32/natives") + ": java.nio.file."), lines.get(0));
    }
}
