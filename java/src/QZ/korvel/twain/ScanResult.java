package QZ.korvel.twain;

import java.util.Collections;
import java.util.List;

/**
 * How a scan ended, with the pages it delivered before the end. A scan that fails keeps every page
 * scanned before the failure, whatever failed: a step of the session, a page that could not be
 * read, the listener, or an unexpected error.
 */
public final class ScanResult {
    /** How a scan ended. */
    public enum Outcome {
        /** Every page asked for was scanned. */
        COMPLETE,
        /** The document feeder ran out of paper before the count was reached. */
        FEEDER_EMPTY,
        /** {@link ScanSession#cancel} or {@link ScanSession#close} ended the scan. */
        CANCELLED,
        /** A step failed; see {@link ScanResult#failure()}. */
        FAILED
    }

    private final Outcome outcome;
    private final List<Page> pages;
    private final int pageCount;
    private final Exception failure;

    ScanResult(Outcome outcome, List<Page> pages, int pageCount, Exception failure) {
        this.outcome = outcome;
        this.pages = Collections.unmodifiableList(pages);
        this.pageCount = pageCount;
        this.failure = failure;
    }

    /**
     * How the scan ended.
     *
     * @return the outcome
     */
    public Outcome outcome() {
        return outcome;
    }

    /**
     * The pages delivered, in order. When the scan handed its pages to a {@link PageListener},
     * those the listener took are not kept here: the list holds only the page it failed on and the
     * pages scanned after it, if it failed.
     *
     * @return the pages, never null
     */
    public List<Page> pages() {
        return pages;
    }

    /**
     * How many pages the scan delivered, to {@link #pages()} or to its listener.
     *
     * @return the count
     */
    public int pageCount() {
        return pageCount;
    }

    /**
     * Why the scan failed: a {@link TwainException} for a step of the session or a page that could
     * not be read, or what the {@link PageListener} threw. An error that is no exception (an
     * {@link Error} thrown by the listener or met while scanning) is the cause of a {@link
     * TwainException}.
     *
     * @return the failure, or null unless the outcome is {@link Outcome#FAILED}
     */
    public Exception failure() {
        return failure;
    }
}
