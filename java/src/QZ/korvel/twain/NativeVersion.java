package QZ.korvel.twain;

/**
 * The library's version, a native method registered by the library's load hook. No static
 * initialiser, like every class with registered natives (see {@link TraceNatives}).
 */
final class NativeVersion {
    private NativeVersion() {}

    /** The version the library was built as, such as "1.0.0". */
    static native String library();
}
