package QZ.korvel.twain;

/**
 * Takes the pages of a scan as they arrive, so that page 1 can be saved while page 2 is scanned.
 */
public interface PageListener {
    /**
     * A page is complete. Called on the thread that started the scan, in page order, while the
     * session goes on to scan the next page; the session scans at most one page ahead of this
     * method, so that pages do not pile up in memory.
     *
     * <p>It may call the session, to read a setting or change one for the pages to come: such a
     * call runs on the session's thread between two pages. It cannot start another scan.
     *
     * <p>An exception ends the scan: the session scans no further page, and the scan's result
     * carries this exception as its failure, with this page and any scanned meanwhile among its
     * pages.
     *
     * @param page the page
     * @throws Exception when the page cannot be taken, for example when saving it failed
     */
    void pageScanned(Page page) throws Exception;

    /**
     * Rows of a page have arrived, for a progress bar. Called on the session's thread while the
     * page is being delivered, so it should return quickly; it may hand the numbers to another
     * thread, such as the Swing event thread. A session call made here runs at once. Does nothing
     * unless overridden.
     *
     * @param pageNumber the page's place in the scan, from 1
     * @param rows how many rows from the top have arrived
     * @param height how many rows the page has
     */
    default void rowsScanned(int pageNumber, int rows, int height) {}
}
