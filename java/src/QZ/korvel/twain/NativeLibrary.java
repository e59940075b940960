package QZ.korvel.twain;

import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.StandardCopyOption;
import java.security.MessageDigest;
import java.security.NoSuchAlgorithmException;
import java.util.Locale;

/**
 * Loads the native library of {@link TwainEx}: from {@code java.library.path} when it is there,
 * otherwise from the jar, where each platform's library lies at {@code
 * natives/<os>-<arch>/<file>} (os {@code windows} or {@code linux}, arch {@code x86} or {@code
 * x86_64}). A library from the jar is copied once into a per-user cache folder under a name that
 * holds its SHA-256, checked against that hash before every load, and loaded by its full path.
 */
final class NativeLibrary {
    private NativeLibrary() {}

    static void load() {
        String os = System.getProperty("os.name", "");
        String arch = System.getProperty("os.arch", "");
        String name = libraryName(os, arch);
        String file = System.mapLibraryName(name);
        if (onLibraryPath(file)) {
            System.loadLibrary(name);
            return;
        }
        String resource = "natives/" + platform(os, arch) + "/" + file;
        byte[] library = readResource(resource, file);
        String hash = sha256(library);
        Path cached = cacheFolder(os).resolve(cachedName(file, hash));
        try {
            extract(library, hash, cached);
            // The file may have changed since it was written, by this process or another.
            if (!hash.equals(sha256(Files.readAllBytes(cached)))) {
                throw new UnsatisfiedLinkError("scanlink32: " + cached
                        + " does not hold the library of " + resource + ": its SHA-256 differs");
            }
        } catch (IOException e) {
            throw linkError("cannot copy " + resource + " to " + cached + ": " + e, e);
        }
        System.load(cached.toAbsolutePath().toString());
    }

    /** A 64-bit VM on Windows takes the 64-bit DLL; every other host keeps the one name. */
    static String libraryName(String os, String arch) {
        return isWindows(os) && "x86_64".equals(architecture(arch)) ? "scanlink64" : "scanlink32";
    }

    /** The folder of the jar that holds the library for this OS and architecture. */
    static String platform(String os, String arch) {
        String system = isWindows(os) ? "windows"
                : os.toLowerCase(Locale.ROOT).startsWith("linux") ? "linux" : null;
        String architecture = architecture(arch);
        if (system == null || architecture == null) {
            throw new UnsatisfiedLinkError("scanlink32 has no native library for " + os + " on "
                    + arch + " (it has them for Windows and Linux, on x86 and x86_64)");
        }
        return system + "-" + architecture;
    }

    /** The file name in the cache: the library's own, with the hash of its bytes before the dot. */
    static String cachedName(String file, String sha256) {
        int dot = file.lastIndexOf('.');
        return dot < 0 ? file + "-" + sha256
                       : file.substring(0, dot) + "-" + sha256 + file.substring(dot);
    }

    /** The per-user cache folder of the platform. */
    static Path cacheFolder(String os) {
        String home = System.getProperty("user.home");
        Path base;
        if (isWindows(os)) {
            String localAppData = System.getenv("LOCALAPPDATA");
            base = localAppData != null && !localAppData.isEmpty()
                    ? Paths.get(localAppData)
                    : Paths.get(home, "AppData", "Local");
        } else {
            String xdgCache = System.getenv("XDG_CACHE_HOME");
            base = xdgCache != null && !xdgCache.isEmpty() ? Paths.get(xdgCache)
                                                             : Paths.get(home, ".cache");
        }
        return base.resolve("scanlink32").resolve("natives");
    }

    private static boolean isWindows(String os) {
        return os.toLowerCase(Locale.ROOT).startsWith("windows");
    }

    private static String architecture(String arch) {
        switch (arch.toLowerCase(Locale.ROOT)) {
            case "x86":
            case "i386":
            case "i486":
            case "i586":
            case "i686":
                return "x86";
            case "x86_64":
            case "amd64":
                return "x86_64";
            default:
                return null;
        }
    }

    private static boolean onLibraryPath(String file) {
        for (String folder : System.getProperty("java.library.path", "").split(File.pathSeparator)) {
            if (!folder.isEmpty() && new File(folder, file).isFile()) {
                return true;
            }
        }
        return false;
    }

    private static byte[] readResource(String resource, String file) {
        try (InputStream in = NativeLibrary.class.getClassLoader().getResourceAsStream(resource)) {
            if (in == null) {
                throw new UnsatisfiedLinkError("scanlink32: " + file
                        + " is neither on java.library.path (" + System.getProperty("java.library.path")
                        + ") nor in the jar at " + resource);
            }
            ByteArrayOutputStream bytes = new ByteArrayOutputStream();
            byte[] buffer = new byte[65536];
            for (int n; (n = in.read(buffer)) > 0;) {
                bytes.write(buffer, 0, n);
            }
            return bytes.toByteArray();
        } catch (IOException e) {
            throw linkError("cannot read " + resource + " from the jar: " + e, e);
        }
    }

    /**
     * Writes the library to its place in the cache unless a file with the same bytes is there; a
     * temporary file and a rename make sure no process ever loads a half-written library.
     */
    private static void extract(byte[] library, String hash, Path target) throws IOException {
        if (Files.isRegularFile(target) && hash.equals(sha256(Files.readAllBytes(target)))) {
            return;
        }
        Files.createDirectories(target.getParent());
        Path temporary = Files.createTempFile(target.getParent(), "extract-", ".tmp");
        try {
            Files.write(temporary, library);
            try {
                Files.move(temporary, target, StandardCopyOption.REPLACE_EXISTING,
                        StandardCopyOption.ATOMIC_MOVE);
            } catch (IOException e) {
                // Another process may have put the same library there first, and Windows does not
                // replace a library that is loaded.
                if (!Files.isRegularFile(target)) {
                    throw e;
                }
            }
        } finally {
            Files.deleteIfExists(temporary);
        }
    }

    static String sha256(byte[] bytes) {
        try {
            StringBuilder hex = new StringBuilder(64);
            for (byte b : MessageDigest.getInstance("SHA-256").digest(bytes)) {
                hex.append(String.format("%02x", b & 0xFF));
            }
            return hex.toString();
        } catch (NoSuchAlgorithmException e) {
            throw linkError("SHA-256 is not available: " + e, e);
        }
    }

    private static UnsatisfiedLinkError linkError(String message, Throwable cause) {
        UnsatisfiedLinkError error = new UnsatisfiedLinkError("scanlink32: " + message);
        error.initCause(cause);
        return error;
    }
}
