package QZ.korvel.twain;

/**
 * The native methods of {@link TransferSteps}, registered by the library's load hook; like every
 * class with registered natives it has no static initialiser (see {@link TraceNatives}).
 */
final class TransferNatives {
    private TransferNatives() {}

    /** Waits for the source to announce a transfer and leaves it announced: true in state 6. */
    static native boolean awaitTransferReady();

    /** DAT_IMAGEINFO in state 6 or 7, as {@link ImageInfo#read} reads it; null when refused. */
    static native byte[] imageInfo();

    /** Takes the announced page by native transfer and drops it: true in state 7. */
    static native boolean transferWithoutEnding();

    /** MSG_ENDXFER alone in state 7: the Count the source reports, or -1 when refused. */
    static native int endTransfer();
}
