package QZ.korvel.twain;

import java.io.IOException;
import java.nio.file.FileAlreadyExistsException;
import java.nio.file.Files;
import java.nio.file.LinkOption;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.attribute.BasicFileAttributes;
import java.nio.file.attribute.PosixFilePermission;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.Map;
import java.util.Set;

/**
 * The per-user folder that receives the copies of the library: {@code
 * %LOCALAPPDATA%\scanlink32\natives} on Windows, {@code $XDG_CACHE_HOME/scanlink32/natives} or
 * {@code ~/.cache/scanlink32/natives} elsewhere. Only the user may be able to write it, since
 * whoever can write it could put another library where the next load looks.
 *
 * <p>On POSIX systems the folders {@code scanlink32} and {@code natives} are made with mode 0700;
 * each must be a real folder, not a symbolic link, owned by the user and writable by nobody else,
 * and every folder above them must belong to the user or to root and be writable by nobody else
 * unless it is sticky (as {@code /tmp} is), where no one can rename what another put there. On
 * Windows the folders lie in the user's profile, whose access list admits only the user and the
 * administrators, and which the new folders inherit; they may not be links or junctions.
 */
final class CacheFolder {
    private static final Set<PosixFilePermission> PRIVATE =
            PosixFilePermissions.fromString("rwx------");
    private static final int WRITABLE_BY_OTHERS = 0022;
    private static final int STICKY = 01000;
    private static final long ROOT_USER = 0;

    private CacheFolder() {}

    /** Makes the folder where it is missing and checks it; an unsafe folder is refused. */
    static Path prepare(String os) {
        return prepare(root(os));
    }

    /**
     * The folder of the files that sources write pages to ({@code scanlink32/transfers} beside
     * {@code natives}), held to the same rules: whoever could write it could hand the library a
     * page of their own.
     *
     * @throws TwainException naming the folder and why it cannot be used
     */
    static Path prepareTransfers(String os) throws TwainException {
        try {
            Path natives = prepare(os);
            Path folder = natives.resolveSibling("transfers");
            ownFolder(folder, isPosix(folder) ? currentUser() : -1);
            return folder;
        } catch (UnsatisfiedLinkError | IOException e) {
            throw TwainException.inLibrary("preparing the folder of transfer files",
                    e.getMessage(), FailureKind.OTHER, e);
        }
    }

    /**
     * Makes the folder below {@code root} and checks it. The root's links are resolved once, and
     * the folder is checked, written, read back and loaded through that one resolved path: a link
     * on the way, in a folder that others can write, could otherwise be pointed elsewhere between
     * the check and the load, and the folder it lies in would never have been checked.
     */
    static Path prepare(Path root) {
        try {
            if (isPosix(root)) {
                long user = currentUser();
                Files.createDirectories(root, PosixFilePermissions.asFileAttribute(PRIVATE));
                Path real = root.toRealPath();
                for (Path above = real; above != null; above = above.getParent()) {
                    checkAbove(above, user);
                }
                return ownFolders(real, user);
            }
            Files.createDirectories(root);
            return ownFolders(root.toRealPath(), -1);
        } catch (IOException e) {
            throw NativeLibrary.linkError("cannot make the folder "
                    + root.resolve("scanlink32").resolve("natives") + ": " + e, e);
        }
    }

    private static Path ownFolders(Path real, long user) throws IOException {
        Path folder = real.resolve("scanlink32").resolve("natives");
        ownFolder(real.resolve("scanlink32"), user);
        ownFolder(folder, user);
        return folder;
    }

    static boolean isPosix(Path path) {
        return path.getFileSystem().supportedFileAttributeViews().contains("posix");
    }

    /** The folder above the library's own; a relative one would depend on the current folder. */
    private static Path root(String os) {
        String home = System.getProperty("user.home", "");
        String variable = NativeLibrary.isWindows(os) ? "LOCALAPPDATA" : "XDG_CACHE_HOME";
        String value = System.getenv(variable);
        String source = variable;
        Path root;
        if (value != null && !value.isEmpty()) {
            root = Paths.get(value);
        } else if (NativeLibrary.isWindows(os)) {
            root = Paths.get(home, "AppData", "Local");
            source = "user.home";
        } else {
            root = Paths.get(home, ".cache");
            source = "user.home";
        }
        if (!root.isAbsolute()) {
            throw new UnsatisfiedLinkError("scanlink32: the cache folder " + root + " (from "
                    + source + ") is not an absolute path");
        }
        return root;
    }

    /** Makes one of the library's own folders, or checks the one that is there. */
    private static void ownFolder(Path folder, long user) throws IOException {
        boolean posix = user >= 0;
        try {
            if (posix) {
                Files.createDirectory(folder, PosixFilePermissions.asFileAttribute(PRIVATE));
            } else {
                Files.createDirectory(folder);
            }
        } catch (FileAlreadyExistsException e) {
            // Checked below like a folder just made: it may be a link, or another user's.
        }
        BasicFileAttributes attributes =
                Files.readAttributes(folder, BasicFileAttributes.class, LinkOption.NOFOLLOW_LINKS);
        if (attributes.isSymbolicLink() || attributes.isOther()) {
            throw refused(folder, "is a link, which the library's folders may not be");
        }
        if (!attributes.isDirectory()) {
            throw refused(folder, "is not a folder");
        }
        if (posix) {
            Map<String, Object> unix = unixAttributes(folder);
            long owner = owner(unix);
            if (owner != user) {
                throw refused(folder, "belongs to user " + owner + ", not to this user (" + user
                        + ")");
            }
            if ((mode(unix) & WRITABLE_BY_OTHERS) != 0) {
                throw refused(folder, "can be written by others (mode " + octal(mode(unix)) + ")");
            }
        }
    }

    /** A folder on the way to the library's own: the user's or root's, and safe from others. */
    private static void checkAbove(Path folder, long user) throws IOException {
        Map<String, Object> unix = unixAttributes(folder);
        long owner = owner(unix);
        if (owner != user && owner != ROOT_USER) {
            throw refused(folder, "belongs to user " + owner + ", neither this user (" + user
                    + ") nor root");
        }
        int mode = mode(unix);
        if ((mode & WRITABLE_BY_OTHERS) != 0 && (mode & STICKY) == 0) {
            throw refused(folder, "can be written by others (mode " + octal(mode) + ")");
        }
    }

    private static Map<String, Object> unixAttributes(Path path) throws IOException {
        return Files.readAttributes(path, "unix:uid,mode", LinkOption.NOFOLLOW_LINKS);
    }

    private static long owner(Map<String, Object> unix) {
        return Integer.toUnsignedLong((Integer) unix.get("uid"));
    }

    private static int mode(Map<String, Object> unix) {
        return (Integer) unix.get("mode") & 07777;
    }

    private static String octal(int mode) {
        return String.format("%04o", mode);
    }

    /** The user this VM runs as, from the JDK's own module, which Java 8 already has. */
    private static long currentUser() {
        try {
            Class<?> unixSystem = Class.forName("com.sun.security.auth.module.UnixSystem");
            Object system = unixSystem.getConstructor().newInstance();
            return ((Number) unixSystem.getMethod("getUid").invoke(system)).longValue();
        } catch (ReflectiveOperationException | RuntimeException e) {
            throw NativeLibrary.linkError("cannot tell which user this VM runs as: " + e, e);
        }
    }

    private static UnsatisfiedLinkError refused(Path folder, String reason) {
        return new UnsatisfiedLinkError("scanlink32: the folder " + folder + " " + reason
                + "; the library is not loaded from there");
    }
}
