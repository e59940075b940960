package QZ.korvel.twain;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.Locale;

/**
 * Loads the native library of {@link TwainEx}. By default only the jar's own copy is loaded: each
 * platform's library lies at {@code natives/<os>-<arch>/<file>} (os {@code windows} or {@code
 * linux}, arch {@code x86} or {@code x86_64}), is written into a fresh file of a folder that only
 * the user can write (see {@link CacheFolder}), checked against the jar's bytes and loaded by that
 * very path (see {@link LibraryCopy}). No search path is ever used: {@code java.library.path},
 * {@code PATH} and the current folder may hold a planted file of the same name. A library outside
 * the jar is loaded only when the application names its file by full path in the system property
 * {@value #FILE_PROPERTY}.
 */
final class NativeLibrary {
    /** The system property that names a library file to load instead of the jar's copy. */
    static final String FILE_PROPERTY = "scanlink32.library.file";

    /** Guarded by the class: whether the library is loaded, or why it could not be. */
    private static boolean loaded;

    private static UnsatisfiedLinkError failure;

    private NativeLibrary() {}

    /**
     * Loads the library on the first call and starts the trace that the system property {@value
     * Trace#PROPERTY} names; later calls return at once. A load that failed is not tried again:
     * every later call throws an error with the first failure's message, and that failure as its
     * cause, so that the reason is never lost to a bare {@code NoClassDefFoundError}.
     *
     * <p>The lock is this class's alone, and nothing done under it waits for the initialisation of
     * another class of the binding: the library's load hook registers its natives only with
     * classes that have no static initialiser. So any number of threads may make the first use of
     * any of the binding's classes at once.
     */
    static synchronized void require() {
        if (loaded) {
            return;
        }
        if (failure != null) {
            UnsatisfiedLinkError again = new UnsatisfiedLinkError(failure.getMessage());
            again.initCause(failure);
            throw again;
        }
        try {
            load();
        } catch (UnsatisfiedLinkError e) {
            failure = e;
            throw e;
        } catch (RuntimeException | Error e) {
            failure = linkError("loading the library failed: " + e, e);
            throw failure;
        }
        loaded = true;
        TraceNatives.describeHost(host());
        String trace = System.getProperty(Trace.PROPERTY);
        if (trace != null && !trace.isEmpty()) {
            TraceNatives.startTrace(trace);
        }
    }

    /** The system and the VM, for the trace's header: what the library cannot learn itself. */
    static String host() {
        return System.getProperty("os.name") + " " + System.getProperty("os.version") + " "
                + System.getProperty("os.arch") + ", " + System.getProperty("java.vm.name") + " "
                + System.getProperty("java.runtime.version", System.getProperty("java.version"))
                + " (" + System.getProperty("sun.arch.data.model", "?") + "-bit), Java "
                + System.getProperty("java.specification.version");
    }

    static synchronized boolean isLoaded() {
        return loaded;
    }

    private static void load() {
        String named = System.getProperty(FILE_PROPERTY);
        if (named != null) {
            loadNamed(named);
            return;
        }
        String os = System.getProperty("os.name", "");
        String arch = System.getProperty("os.arch", "");
        String file = System.mapLibraryName(libraryName(os, arch));
        String resource = "natives/" + platform(os, arch) + "/" + file;
        byte[] library = readResource(resource);
        Path copy = LibraryCopy.write(CacheFolder.prepare(os), file, library);
        try {
            System.load(copy.toString());
        } catch (UnsatisfiedLinkError e) {
            throw linkError("cannot load " + copy + ", the copy of " + resource + ": "
                    + e.getMessage(), e);
        } finally {
            LibraryCopy.discard(copy);
        }
        checkVersion(copy + ", the copy of " + resource + ",");
    }

    /**
     * The library answers its version, which must be the binding's: a library of another build
     * may lay out its records otherwise.
     */
    private static void checkVersion(String what) {
        String library;
        try {
            library = NativeVersion.library();
        } catch (UnsatisfiedLinkError e) {
            throw linkError(what + " is not a scanlink32 library: it does not tell its version ("
                    + e.getMessage() + ")", e);
        }
        if (!BuildVersion.VERSION.equals(library)) {
            throw new UnsatisfiedLinkError("scanlink32: " + what + " is version " + library
                    + ", and the binding version " + BuildVersion.VERSION + "; they must be one");
        }
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

    static boolean isWindows(String os) {
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

    /**
     * The file the application named. Only a full path is taken: a relative one would be resolved
     * against the current folder, which is one of the places a planted library waits in.
     */
    private static void loadNamed(String named) {
        Path path = Paths.get(named);
        if (!path.isAbsolute()) {
            throw new UnsatisfiedLinkError("scanlink32: the system property " + FILE_PROPERTY
                    + " must name the library's file by its full path, not \"" + named + "\"");
        }
        if (!Files.isRegularFile(path)) {
            throw new UnsatisfiedLinkError("scanlink32: " + path + ", named by the system property "
                    + FILE_PROPERTY + ", is not a file");
        }
        String what = path + ", named by the system property " + FILE_PROPERTY;
        try {
            System.load(path.toString());
        } catch (UnsatisfiedLinkError e) {
            throw linkError("cannot load " + what + ": " + e.getMessage(), e);
        }
        checkVersion(what + ",");
    }

    private static byte[] readResource(String resource) {
        try (InputStream in = NativeLibrary.class.getClassLoader().getResourceAsStream(resource)) {
            if (in == null) {
                throw new UnsatisfiedLinkError("scanlink32: the jar holds no library at " + resource
                        + ", and the system property " + FILE_PROPERTY + " names none");
            }
            return readAll(in);
        } catch (IOException e) {
            throw linkError("cannot read " + resource + " from the jar: " + e, e);
        }
    }

    static byte[] readAll(InputStream in) throws IOException {
        ByteArrayOutputStream bytes = new ByteArrayOutputStream();
        byte[] buffer = new byte[65536];
        for (int n; (n = in.read(buffer)) > 0;) {
            bytes.write(buffer, 0, n);
        }
        return bytes.toByteArray();
    }

    static UnsatisfiedLinkError linkError(String message, Throwable cause) {
        UnsatisfiedLinkError error = new UnsatisfiedLinkError("scanlink32: " + message);
        error.initCause(cause);
        return error;
    }
}
