package QZ.korvel.twain;

/**
 * A trace of what passes between the library and the scanner's driver, for a report when a scanner
 * misbehaves: every request with its names, codes, the session's state before and after, and its
 * duration; the source manager's file and the source's identity; each page; every decision the
 * library takes on its own (a step tried again, a wait given up); and each call one thread hands to
 * another. One line per event, appended to the file; past 10 MB the file replaces {@code FILE.1}
 * in one move and a new one begins. Where that move is refused (on Windows, while another process
 * holds a file open) the trace stops with a last line that says why, so that the file never grows
 * past twice its limit. Lines of several threads never mix.
 *
 * <p>It is off unless started: by this class, by the system property {@code scanlink32.trace}
 * naming a file (read when the library is loaded), or by the environment variable {@code
 * SCANLINK_TRACE}. While off it costs nothing worth measuring. A file that cannot be written costs
 * one line on the standard error, and scanning goes on. The session's own steps are logged besides
 * to {@code java.util.logging}, under the logger named after this package, at level {@code FINE}.
 *
 * <p>When both the property and the variable name a file, the property wins: the library starts
 * the variable's file as it loads, and the binding then moves the trace to the property's. A file
 * begins with a header: the library's version and build, the system, the Java VM and its bitness,
 * and the process. Each line names the thread by its native id and, for a Java thread, by its
 * name. {@link ScanSession} adds the failures that it detects itself, such as a step refused
 * before anything was sent; an application may add its own lines with {@link #note}.
 */
public final class Trace {
    /** The system property that names the trace's file when the library is loaded. */
    public static final String PROPERTY = "scanlink32.trace";

    private Trace() {}

    /**
     * Starts the trace, or moves it to another file.
     *
     * @param file the file to append to, in the system's code page on Windows
     * @return false when the file cannot be opened; the trace is then off
     */
    public static boolean start(String file) {
        if (file == null) {
            throw new NullPointerException("file");
        }
        NativeLibrary.require();
        return TraceNatives.startTrace(file);
    }

    /** Stops the trace; the file keeps what was written. */
    public static void stop() {
        NativeLibrary.require();
        TraceNatives.stopTrace();
    }

    /**
     * Adds a line to the trace when it is on, with the time, the thread and the session's state
     * like every other line; does nothing when it is off.
     *
     * @param text what happened, on one line
     */
    public static void note(String text) {
        if (text == null) {
            throw new NullPointerException("text");
        }
        NativeLibrary.require();
        TraceNatives.line(text);
    }

    /**
     * A failure that the binding found itself, such as a step refused before anything was sent,
     * for the trace when it is on. Never loads the library: a binding whose library did not load
     * has no trace.
     */
    static void failure(String text) {
        if (NativeLibrary.isLoaded()) {
            TraceNatives.line("binding: " + text);
        }
    }
}
