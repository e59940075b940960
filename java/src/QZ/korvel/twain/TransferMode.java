package QZ.korvel.twain;

/**
 * How {@link ScanSession} takes its pages from the source (ICAP_XFERMECH).
 */
public enum TransferMode {
    /**
     * Memory transfer when the source offers it, else native transfer; a page whose memory
     * transfer fails before its first strip is taken again by native transfer. The default.
     */
    AUTOMATIC,
    /**
     * The whole page in one block of memory, as a DIB. A 32-bit process may not find such a
     * block for a large page in colour at a high resolution.
     */
    NATIVE,
    /**
     * The page in strips or tiles through a buffer of the session's, each row written into the
     * page as soon as it is complete, so that the process holds about one strip besides the page.
     * A JPEG or Group 4 page (see {@link Compression}) is kept as it came.
     */
    MEMORY,
    /**
     * The source writes the page to a file that the session names in a folder only the user can
     * write, reads and removes: a BMP file, or a JPEG or TIFF (Group 4) file as {@link
     * Compression} asks.
     */
    FILE
}
