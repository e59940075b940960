package QZ.korvel.twain;

/**
 * The native method through which {@link ScanSession} takes its pages: by native, memory or file
 * transfer, written straight into the page's raster by {@link PageBuilder}. It follows the rules
 * of {@link TwainEx#acquireImage}: only the thread that enabled the source waits. Registered by the
 * library's load hook; like every class with registered natives it has no static initialiser (see
 * {@link TraceNatives}).
 */
final class PageTransfers {
    static final int NATIVE = 0;
    static final int MEMORY = 1;
    static final int FILE = 2;

    /** No page: the codes, or {@link DeviceEx#transferFailure}, say why. */
    static final int NO_PAGE = 0;
    /** The page is in the builder. */
    static final int PAGE = 1;
    /** The memory transfer failed before its first buffer; the source was disabled. */
    static final int NO_FIRST_STRIP = 2;

    private PageTransfers() {}

    /**
     * Waits for the next page and takes it by {@code mechanism} into {@code builder}.
     *
     * @param builder takes the page
     * @param mechanism {@link #NATIVE}, {@link #MEMORY} or {@link #FILE}
     * @param file the file a file transfer writes, a full path; null for the others
     * @param format the TWFF_ format asked of a file transfer
     * @return {@link #NO_PAGE}, {@link #PAGE} or {@link #NO_FIRST_STRIP}
     * @throws Exception a page the library refused, with the reason as its message
     */
    static native int acquire(PageBuilder builder, int mechanism, String file, int format)
            throws Exception;
}
