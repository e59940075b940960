package QZ.korvel.twain;

/**
 * The versions of the binding and of its native library. The binding loads only a library of its
 * own version: a library that answers another version, or none, is refused when it is loaded, with
 * an {@link UnsatisfiedLinkError} that names both. The trace's header and the Windows libraries'
 * version resources carry the same version.
 */
public final class Version {
    private Version() {}

    /**
     * The version of this binding, as the jar's manifest also gives it ({@code
     * Implementation-Version}).
     *
     * @return the version, such as "1.0.0"
     */
    public static String binding() {
        return BuildVersion.VERSION;
    }

    /**
     * The Maven coordinates of this binding, group, artifact and version, as its pom, the jar's
     * manifest ({@code Maven-Coordinates}), the trace's header and the Windows libraries' version
     * resources give them.
     *
     * @return the coordinates, such as "qz.korvel:scanlink32:1.0.0"
     */
    public static String coordinates() {
        return BuildVersion.COORDINATES;
    }

    /**
     * The version of the native library that this binding loaded, loading it when it is not loaded
     * yet.
     *
     * @return the version, the binding's own once the library is loaded
     * @throws UnsatisfiedLinkError if the library cannot be loaded, saying why
     */
    public static String library() {
        NativeLibrary.require();
        return NativeVersion.library();
    }
}
