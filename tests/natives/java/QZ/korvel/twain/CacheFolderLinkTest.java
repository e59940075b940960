package QZ.korvel.twain;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.List;
import java.util.stream.Collectors;
import java.util.stream.Stream;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/**
 * A cache root that runs through a link, in a folder that others can write: the folder is checked
 * and used through one and the same resolved path, so that pointing the link elsewhere after the
 * check moves nothing.
 */
class CacheFolderLinkTest {
    @TempDir Path work;

    @Test
    void aLinkAboveTheRootIsResolvedOnceAndPointingItElsewhereAfterwardsMovesNothing()
            throws Exception {
        Path shared = Files.createDirectory(work.resolve("shared"));
        Files.setPosixFilePermissions(shared, PosixFilePermissions.fromString("rwxrwxrwx"));
        Path mine = Files.createDirectory(work.resolve("mine"));
        Path link = Files.createSymbolicLink(shared.resolve("link"), mine);

        Path folder = CacheFolder.prepare(link.resolve("cache"));
        Path checked = mine.toRealPath().resolve("cache/scanlink32/natives");
        assertEquals(checked, folder);

        // Another user, who may write the shared folder, points the link at a tree of their own.
        Path theirs = Files.createDirectories(work.resolve("theirs/cache/scanlink32/natives"));
        Files.delete(link);
        Files.createSymbolicLink(link, work.resolve("theirs"));
        Path copy = LibraryCopy.write(folder, "libscanlink32.so", new byte[] {1, 2, 3});
        assertTrue(copy.startsWith(checked), copy.toString());
        assertEquals(List.of(), listed(theirs));
        assertEquals(List.of(copy), listed(checked));
        LibraryCopy.discard(copy);
    }

    static List<Path> listed(Path folder) throws Exception {
        try (Stream<Path> files = Files.list(folder)) {
            return files.collect(Collectors.toList());
        }
    }
}
