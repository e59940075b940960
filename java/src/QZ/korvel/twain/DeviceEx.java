package QZ.korvel.twain;

/**
 * The native methods for the sources the manager knows and for capabilities by their number, with
 * their data as records (see {@link NativeRecord}). They follow the rules of {@link TwainEx}: the
 * thread that registered sends every request, and the codes tell why a request failed. They are
 * registered when {@link TwainEx} loads the library.
 */
final class DeviceEx {
    static {
        TwainEx.loadLibrary();
    }

    private DeviceEx() {}

    /** The count of sources, then each identity; null when the list cannot be had. */
    static native byte[] listSources();

    /** The default source's identity, or null. */
    static native byte[] defaultSource();

    /** Opens the source of a record of its Id, manufacturer, product family and product name. */
    static native boolean openSource(byte[] identity);

    /**
     * A read of a capability with a message among MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT,
     * MSG_RESET and MSG_QUERYSUPPORT: 0 and the container, or 1 and why the source's container was
     * refused; null when the request failed.
     */
    static native byte[] readCapability(int capability, int msg);

    /** MSG_SET with the container of the record. */
    static native boolean setCapability(int capability, byte[] container);

    /**
     * DAT_IMAGELAYOUT MSG_SET of the frame, each edge the nearest 1/65536 of a unit, then MSG_GET:
     * 0 and the four edges the source tells back (each a FIX32, as {@link Items#fromFix32} reads
     * it), or 1 alone when it took the frame and does not tell it; null when it refused the frame.
     */
    static native byte[] setFractionalFrame(double left, double top, double right, double bottom);

    /**
     * The codes of the last native transfer that failed since the source was enabled, which the
     * steps after it overwrite in the session's codes: the result code in bits 16 to 31, the
     * condition code in bits 0 to 15; -1 when none failed.
     */
    static native long transferFailure();
}
