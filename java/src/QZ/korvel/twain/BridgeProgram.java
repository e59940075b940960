package QZ.korvel.twain;

import java.io.IOException;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;

/**
 * The bridge program, found as the library is (see {@link NativeLibrary}): the jar's own copy at
 * {@code natives/<os>-<arch>/<file>}, written afresh into the cache folder, compared with the
 * jar's bytes and started by its full path, or the file a system property names by its full path.
 * No search path is ever used.
 */
final class BridgeProgram {
    /** Names the bridge of the VM's own width, by its full path. */
    static final String FILE_PROPERTY = "scanlink32.bridge.file";
    /** Names the 32-bit bridge that a 64-bit VM on Windows starts, by its full path. */
    static final String FILE_32_PROPERTY = "scanlink32.bridge32.file";

    private BridgeProgram() {}

    /** Whether this VM can start a bridge for drivers of {@code bits} bits. */
    static boolean available(int bits) {
        if (System.getProperty(property(bits)) != null) {
            return true;
        }
        String resource = resource(bits);
        return resource != null && BridgeProgram.class.getClassLoader().getResource(resource) != null;
    }

    /**
     * The program's file, ready to start.
     *
     * @throws UnsatisfiedLinkError saying why there is none
     */
    static Path locate(int bits) {
        String property = property(bits);
        String named = System.getProperty(property);
        if (named != null) {
            Path path = Paths.get(named);
            if (!path.isAbsolute() || !Files.isRegularFile(path)) {
                throw new UnsatisfiedLinkError("scanlink32: the system property " + property
                        + " must name the bridge program's file by its full path, not \"" + named
                        + "\"");
            }
            return path;
        }
        String resource = resource(bits);
        if (resource == null) {
            throw new UnsatisfiedLinkError("scanlink32 has no " + bits + "-bit bridge program for "
                    + System.getProperty("os.name") + ", and the system property " + property
                    + " names none");
        }
        byte[] program;
        try (InputStream in = BridgeProgram.class.getClassLoader().getResourceAsStream(resource)) {
            if (in == null) {
                throw new UnsatisfiedLinkError("scanlink32: the jar holds no bridge program at "
                        + resource + ", and the system property " + property + " names none");
            }
            program = NativeLibrary.readAll(in);
        } catch (IOException e) {
            throw NativeLibrary.linkError("cannot read " + resource + " from the jar: " + e, e);
        }
        String os = System.getProperty("os.name", "");
        return LibraryCopy.write(CacheFolder.prepare(os), fileName(resource), program);
    }

    /**
     * The program has been started, or failed to: a copy of the jar's goes (POSIX systems keep
     * the running file; Windows refuses, and a later start sweeps it away).
     */
    static void started(Path file, int bits) {
        if (System.getProperty(property(bits)) == null) {
            LibraryCopy.discard(file);
        }
    }

    private static String property(int bits) {
        return bits == 32 && vmBits() == 64 ? FILE_32_PROPERTY : FILE_PROPERTY;
    }

    static int vmBits() {
        return NativePort.INSTANCE.bits();
    }

    /** The jar's entry for the program, or null where none is made. */
    static String resource(int bits) {
        String os = System.getProperty("os.name", "");
        if (NativeLibrary.isWindows(os)) {
            return bits == 32 ? "natives/windows-x86/scanlink-bridge32.exe"
                              : "natives/windows-x86_64/scanlink-bridge64.exe";
        }
        if (bits != vmBits()) {
            return null;
        }
        try {
            return "natives/" + NativeLibrary.platform(os, System.getProperty("os.arch", ""))
                    + "/scanlink-bridge";
        } catch (UnsatisfiedLinkError e) {
            return null;
        }
    }

    private static String fileName(String resource) {
        return resource.substring(resource.lastIndexOf('/') + 1);
    }
}
