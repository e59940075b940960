package QZ.korvel.twain;

import java.io.IOException;
import java.io.InputStream;
import java.nio.ByteBuffer;
import java.nio.channels.SeekableByteChannel;
import java.nio.file.DirectoryStream;
import java.nio.file.Files;
import java.nio.file.LinkOption;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.BasicFileAttributes;
import java.nio.file.attribute.FileAttribute;
import java.nio.file.attribute.PosixFilePermissions;
import java.security.SecureRandom;
import java.util.Arrays;
import java.util.EnumSet;
import java.util.Set;
import java.util.concurrent.TimeUnit;
import java.util.regex.Pattern;

/**
 * The copy of the jar's library that one load uses. Every load writes a file of its own, created
 * exclusively under a random name in the {@link CacheFolder}, reads it back, compares it with the
 * jar's bytes, and loads that very path; no copy is ever trusted a second time.
 *
 * <p>Nothing can be put in the copy's place between the comparison and the load by another user:
 * the folder can be written only by this user, every folder above it only by this user or the
 * administrator (or it is sticky, so that no other user can rename what this user put there), the
 * name is new, and an exclusive creation never follows a link. A process of the same user could,
 * but it could as well change this VM's jar or memory, which no check inside the VM can prevent.
 */
final class LibraryCopy {
    /**
     * A copy older than this is no longer being loaded by the VM that wrote it, which loads it as
     * soon as it is written; younger ones may be.
     */
    private static final long STALE_MILLIS = TimeUnit.HOURS.toMillis(1);

    private static final SecureRandom RANDOM = new SecureRandom();

    private LibraryCopy() {}

    /** Writes and checks a fresh copy; a failure removes what was written. */
    static Path write(Path folder, String file, byte[] library) {
        sweep(folder, file);
        Path copy = folder.resolve(copyName(file, randomHex()));
        try {
            create(copy, library);
            if (!Arrays.equals(library, readBack(copy))) {
                throw new UnsatisfiedLinkError("scanlink32: the copy " + copy
                        + " changed after it was written; it is not loaded");
            }
            return copy;
        } catch (IOException e) {
            discard(copy);
            throw NativeLibrary.linkError("cannot write the copy " + copy + ": " + e, e);
        } catch (UnsatisfiedLinkError e) {
            discard(copy);
            throw e;
        }
    }

    /**
     * Removes a copy once it is loaded, or after it failed. POSIX systems keep a loaded library
     * mapped; Windows refuses to remove it while it is loaded, and a later load sweeps it away.
     */
    static void discard(Path copy) {
        try {
            Files.deleteIfExists(copy);
        } catch (IOException e) {
            // Loaded on Windows: left to the sweep of a later load.
        }
    }

    /** The library's own file name with a random part before its extension. */
    static String copyName(String file, String random) {
        int dot = file.lastIndexOf('.');
        return dot < 0 ? file + "-" + random
                       : file.substring(0, dot) + "-" + random + file.substring(dot);
    }

    /** Copies of this library left by earlier loads: a random part, or the hash older ones used. */
    static Pattern copyPattern(String file) {
        int dot = file.lastIndexOf('.');
        String base = dot < 0 ? file : file.substring(0, dot);
        String extension = dot < 0 ? "" : file.substring(dot);
        return Pattern.compile(Pattern.quote(base) + "-[0-9a-f]{32}(?:[0-9a-f]{32})?"
                + Pattern.quote(extension));
    }

    private static void create(Path copy, byte[] library) throws IOException {
        Set<StandardOpenOption> options = EnumSet.of(StandardOpenOption.CREATE_NEW,
                StandardOpenOption.WRITE);
        FileAttribute<?>[] attributes = CacheFolder.isPosix(copy)
                ? new FileAttribute<?>[] {PosixFilePermissions.asFileAttribute(
                        PosixFilePermissions.fromString("rwx------"))}
                : new FileAttribute<?>[0];
        try (SeekableByteChannel out = Files.newByteChannel(copy, options, attributes)) {
            ByteBuffer bytes = ByteBuffer.wrap(library);
            while (bytes.hasRemaining()) {
                out.write(bytes);
            }
        }
    }

    private static byte[] readBack(Path copy) throws IOException {
        try (InputStream in = Files.newInputStream(copy, LinkOption.NOFOLLOW_LINKS)) {
            return NativeLibrary.readAll(in);
        }
    }

    /** Removes copies that earlier loads left; what cannot be removed now stays for later. */
    private static void sweep(Path folder, String file) {
        Pattern copies = copyPattern(file);
        long before = System.currentTimeMillis() - STALE_MILLIS;
        try (DirectoryStream<Path> entries = Files.newDirectoryStream(folder)) {
            for (Path entry : entries) {
                BasicFileAttributes attributes = Files.readAttributes(entry,
                        BasicFileAttributes.class, LinkOption.NOFOLLOW_LINKS);
                if (copies.matcher(entry.getFileName().toString()).matches()
                        && attributes.isRegularFile()
                        && attributes.lastModifiedTime().toMillis() < before) {
                    discard(entry);
                }
            }
        } catch (IOException e) {
            // The sweep only saves space; the load goes on.
        }
    }

    private static String randomHex() {
        byte[] random = new byte[16];
        RANDOM.nextBytes(random);
        StringBuilder hex = new StringBuilder(32);
        for (byte b : random) {
            hex.append(String.format("%02x", b & 0xFF));
        }
        return hex.toString();
    }
}
