package QZ.korvel.twain;

/**
 * The trace's native methods, registered by the library's load hook. This class has no static
 * initialiser, so that registering with it can never wait for another thread's first use of the
 * binding; its callers load the library first (see {@link NativeLibrary#require}).
 */
final class TraceNatives {
    private TraceNatives() {}

    /** Starts the trace into the file, or moves it there; false when the file cannot be opened. */
    static native boolean startTrace(String file);

    static native void stopTrace();

    /** What the process runs on, for the header of every trace file. */
    static native void describeHost(String description);

    /** One line in the trace, when it is on; nothing otherwise. */
    static native void line(String text);
}
