package QZ.korvel.twain;

/**
 * Whether the source compresses its pages (ICAP_COMPRESSION). A compressed page comes by memory
 * or file transfer and is kept as it came ({@link Page#encoded()}); native transfer always gives
 * an uncompressed page.
 */
public enum Compression {
    /** Uncompressed pixels. */
    NONE(0),
    /** JPEG, for gray and colour pages: lossy, about a tenth of the size. */
    JPEG(6),
    /** CCITT Group 4, for black and white pages: lossless. */
    GROUP4(5);

    private final int code;

    Compression(int code) {
        this.code = code;
    }

    /**
     * The TWCP_ code.
     *
     * @return the code ICAP_COMPRESSION takes
     */
    public int code() {
        return code;
    }
}
