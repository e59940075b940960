package QZ.korvel.twain;

import java.awt.image.BufferedImage;
import java.util.ArrayDeque;
import java.util.ArrayList;
import java.util.List;
import java.util.logging.Level;

/**
 * One scan: the session thread scans its pages, one enable per page with a transfer count of 1, and
 * hands each page to the thread that started the scan, which keeps it or gives it to the listener
 * while the next page is scanned.
 */
final class ScanRun {
    /** Pages the session may finish while the caller has not yet taken the one before. */
    private static final int PAGES_AHEAD = 1;

    /** The scan whose listener runs on this thread, if any. */
    private static final ThreadLocal<ScanRun> LISTENING = new ThreadLocal<>();

    private final int maxPages;
    private final boolean turnFeederOn;
    private final PageListener listener;
    private final TransferMode transferMode;
    private final RoutedPort port;

    private final Object lock = new Object();
    private final ArrayDeque<Page> ready = new ArrayDeque<>();
    private final ArrayDeque<Runnable> listenerCalls = new ArrayDeque<>();
    private int untaken;
    private boolean callerStopped;
    private boolean ended;
    private ScanResult.Outcome outcome;
    private Exception failure;
    private Throwable thrown;

    private volatile boolean cancelled;
    private boolean duplex; // on the session thread
    private TransferChoice transfer; // on the session thread
    private volatile boolean scanning;

    ScanRun(int maxPages, boolean turnFeederOn, PageListener listener, TransferMode transferMode,
            RoutedPort port) {
        this.port = port;
        this.maxPages = maxPages;
        this.turnFeederOn = turnFeederOn;
        this.listener = listener;
        this.transferMode = transferMode;
    }

    /**
     * Asks the scan to end before its next page, from any thread. A wait for a page of this scan
     * ends at once, and the session's thread then disables the source itself.
     */
    void cancel() {
        cancelled = true;
        synchronized (lock) {
            lock.notifyAll();
        }
        if (scanning) {
            port.cancelWait();
        }
    }

    /** The scan whose listener is running on the calling thread; null on any other thread. */
    static ScanRun listening() {
        return LISTENING.get();
    }

    /**
     * Runs a call that the listener makes on the session, on the session thread between pages:
     * queued behind the scan, it would wait for the scan, which waits for the listener. False when
     * the scan has ended, and the call can be queued as any other.
     */
    boolean runForListener(Runnable call) {
        synchronized (lock) {
            if (ended) {
                return false;
            }
            listenerCalls.add(call);
            lock.notifyAll();
            return true;
        }
    }

    // On the session thread.

    /** Scans the pages; whatever happens, the caller is told how the scan ended. */
    void execute() {
        ScanResult.Outcome result = ScanResult.Outcome.FAILED;
        Exception failed = null;
        Throwable unexpected = null;
        try {
            result = scanPages();
        } catch (TwainException e) {
            failed = e;
        } catch (BridgeEnded e) {
            failed = e.failure();
        } catch (RuntimeException | Error e) {
            unexpected = e;
        } finally {
            scanning = false;
            if (transfer != null) {
                transfer.restoreNative();
            }
            end(result, failed, unexpected);
        }
    }

    /**
     * A sheet-fed scanner's feeder is always on, and such a driver may refuse to be told so: a
     * refusal counts only when the feeder is not on afterwards.
     */
    private static void turnFeederOn() throws TwainException {
        String step = "turning the document feeder on";
        if (SessionPort.current().setFeederEnabled(true)) {
            return;
        }
        TwainException refused = TwainException.atStep(step);
        if (!SessionPort.current().getFeederEnabled()) {
            throw refused;
        }
    }

    private ScanResult.Outcome scanPages() throws TwainException {
        if (cancelled) {
            return ScanResult.Outcome.CANCELLED; // before it started: nothing to undo
        }
        int state = SessionPort.current().state();
        if (state != 4) {
            throw new NotReady(SessionStates.notNow("starting the scan",
                    state < 4 ? "no source is open" : "the source is already enabled"));
        }
        if (turnFeederOn) {
            turnFeederOn();
        }
        boolean feeder = turnFeederOn || SessionPort.current().getFeederEnabled();
        duplex = feeder && duplexEnabled();
        transfer = TransferChoice.choose(transferMode, port.bridged());
        scanning = true;
        for (int number = 1; number <= maxPages; number++) {
            if (!awaitRoom() || cancelled) {
                return ScanResult.Outcome.CANCELLED;
            }
            if (feeder && !SessionPort.current().isFeederLoaded()) {
                return ScanResult.Outcome.FEEDER_EMPTY;
            }
            if (!scanPage(number)) {
                return ScanResult.Outcome.CANCELLED;
            }
        }
        return ScanResult.Outcome.COMPLETE;
    }

    /**
     * One page with an enable of its own: the source is told to take one page only, so no sheet
     * that the feeder pulls in is discarded with the transfers pending after the page. False when
     * the scan was cancelled before the page came.
     */
    private boolean scanPage(int number) throws TwainException {
        Page page;
        boolean disabled;
        try {
            page = acquire(number, transfer.mechanism());
        } finally {
            // Back to an open source whatever happened, so that the session stays usable.
            disabled = SessionPort.current().stopTransfer();
        }
        if (page == null) {
            return false;
        }
        ScanSession.LOG.fine(() -> "page " + number + ": " + page.image().getWidth() + " x "
                + page.image().getHeight() + " pixels at " + page.xResolution() + " x "
                + page.yResolution() + " dpi");
        handOver(page);
        TwainException.check(disabled, "disabling the source after page " + number);
        return true;
    }

    /** Enables the source for the page, and takes the page by {@code mechanism}. */
    private Page acquire(int number, int mechanism) throws TwainException {
        transfer.set(mechanism);
        TwainException.check(SessionPort.current().setTransferCount(1),
                "asking the source for page " + number + " alone");
        TwainException.check(
                SessionPort.current().prepareTransfer(), "enabling the source for page " + number);
        // A cancel that came before the enable found nothing to stop; this test catches it.
        if (cancelled) {
            return null;
        }
        PageBuilder builder = new PageBuilder(listener == null ? null
                : (rows, height) -> listener.rowsScanned(number, rows, height));
        int outcome;
        try {
            outcome = transfer.acquire(builder, mechanism);
        } catch (BridgeEnded e) {
            throw e;
        } catch (Exception | OutOfMemoryError e) {
            throw TwainException.inLibrary("reading page " + number,
                    e.getMessage() != null ? e.getMessage() : e.toString(), FailureKind.OTHER, e);
        }
        if (outcome == PageTransfers.NO_FIRST_STRIP) {
            if (!transfer.fallsBack() || cancelled) {
                throw noFirstStrip(number, builder.refusal());
            }
            String why = "page " + number + ": the memory transfer failed before its first strip"
                    + (builder.refusal() != null ? " (" + builder.refusal() + ")" : "")
                    + "; the page is taken by native transfer";
            ScanSession.LOG.fine(why);
            Trace.failure(why);
            SessionPort.current().stopTransfer();
            return acquire(number, PageTransfers.NATIVE);
        }
        if (outcome != PageTransfers.PAGE) {
            if (cancelled) {
                return null;
            }
            throw noPage(number);
        }
        BufferedImage image = builder.image();
        EncodedImage encoded = builder.encoded();
        if (image == null && encoded == null) {
            throw TwainException.inLibrary(
                    "reading page " + number, "the page has no pixels", FailureKind.OTHER, null);
        }
        Units units = Units.fromCode(SessionPort.current().getCurrentUnits());
        double perInch = units != null ? units.perInch() : 0;
        Page.Side side = !duplex ? Page.Side.UNKNOWN
                : number % 2 == 1 ? Page.Side.FRONT : Page.Side.BACK;
        return new Page(number, image, encoded, port.getXResolution() * perInch,
                port.getYResolution() * perInch, side, TransferChoice.modeOf(mechanism));
    }

    /** A memory transfer the program chose that failed before a single strip came. */
    private static TwainException noFirstStrip(int number, String refusal) {
        String step = "reading page " + number + " by memory transfer";
        if (refusal != null) {
            return TwainException.inLibrary(step, refusal, FailureKind.OTHER, null);
        }
        return noPage(number);
    }

    /**
     * Whether the source scans both sides, which then come front first (see {@link Page.Side});
     * a source without duplex, or one that does not tell, scans one side as far as a page knows.
     */
    private static boolean duplexEnabled() {
        try {
            Object value = CapabilityRequests.current(Capability.CAP_DUPLEXENABLED).current();
            return Boolean.TRUE.equals(value)
                    || value instanceof Number && ((Number) value).longValue() != 0;
        } catch (TwainException e) {
            return false;
        }
    }

    /**
     * A page the source did not give, with the codes of its transfer when that failed (a jam, a
     * double feed, an empty feeder, a cancel): the session's codes by then are those of the steps
     * that ended the transfer.
     */
    private static TwainException noPage(int number) {
        String step = "acquiring page " + number;
        String detail = "the source gave no page";
        long transfer = SessionPort.current().transferFailure();
        if (transfer < 0) {
            return TwainException.atStep(step, detail, null);
        }
        return new TwainException(step, detail, (int) (transfer >>> 16), (int) transfer & 0xFFFF,
                SessionPort.current().state(), null);
    }

    /**
     * Waits until the caller has taken all but {@link #PAGES_AHEAD} pages, running the listener's
     * calls meanwhile. False when the listener failed.
     */
    private boolean awaitRoom() {
        boolean interrupted = false;
        try {
            while (true) {
                Runnable call;
                synchronized (lock) {
                    while (listenerCalls.isEmpty() && untaken > PAGES_AHEAD && !cancelled
                            && !callerStopped) {
                        try {
                            lock.wait();
                        } catch (InterruptedException e) {
                            interrupted = true;
                        }
                    }
                    call = listenerCalls.poll();
                    if (call == null) {
                        return !callerStopped;
                    }
                }
                call.run();
            }
        } finally {
            if (interrupted) {
                Thread.currentThread().interrupt();
            }
        }
    }

    private void handOver(Page page) {
        synchronized (lock) {
            ready.add(page);
            untaken++;
            lock.notifyAll();
        }
    }

    /** Ends the scan once the listener's calls made so far have run. */
    private void end(ScanResult.Outcome outcome, Exception failure, Throwable thrown) {
        ScanSession.LOG.log(Level.FINE, "the scan ended: " + outcome,
                failure != null ? failure : thrown);
        if (failure != null || thrown != null) {
            Trace.failure("the scan ended " + outcome + ": "
                    + (failure != null ? failure.getMessage() : String.valueOf(thrown)));
        }
        while (true) {
            Runnable call;
            synchronized (lock) {
                call = listenerCalls.poll();
                if (call == null) {
                    this.outcome = outcome;
                    this.failure = failure;
                    this.thrown = thrown;
                    ended = true;
                    lock.notifyAll();
                    return;
                }
            }
            call.run();
        }
    }

    // On the thread that started the scan.

    /**
     * Takes the pages as they come, keeping them or giving them to the listener, until the scan
     * has ended; then its result. A page the listener failed on, and those scanned after it, are
     * kept in the result, as are the pages of a scan that met an unexpected error, so that no page
     * is lost. An interrupt cancels the scan.
     */
    ScanResult awaitResult() {
        List<Page> kept = new ArrayList<>();
        int delivered = 0;
        Throwable listenerFailure = null;
        boolean interrupted = false;
        while (true) {
            Page page;
            synchronized (lock) {
                while (ready.isEmpty() && !ended) {
                    try {
                        lock.wait();
                    } catch (InterruptedException e) {
                        interrupted = true;
                        cancel();
                    }
                }
                page = ready.poll();
            }
            if (page == null) {
                break;
            }
            if (listener == null || listenerFailure != null) {
                kept.add(page);
            } else {
                LISTENING.set(this);
                try {
                    listener.pageScanned(page);
                    delivered++;
                } catch (Throwable t) {
                    listenerFailure = t;
                    kept.add(page);
                } finally {
                    LISTENING.remove();
                }
            }
            synchronized (lock) {
                untaken--;
                callerStopped = listenerFailure != null;
                lock.notifyAll();
            }
        }
        if (interrupted) {
            Thread.currentThread().interrupt();
        }
        int pageCount = delivered + kept.size();
        synchronized (lock) {
            if (listenerFailure != null) {
                return new ScanResult(ScanResult.Outcome.FAILED, kept, pageCount,
                        asFailure("taking a page", listenerFailure));
            }
            if (thrown instanceof NotReady) {
                throw ((NotReady) thrown).reason;
            }
            if (thrown != null) {
                return new ScanResult(
                        ScanResult.Outcome.FAILED, kept, pageCount, asFailure("scanning", thrown));
            }
            return new ScanResult(outcome, kept, pageCount, failure);
        }
    }

    /**
     * A scan asked for when the session cannot scan: the caller's mistake, which the caller gets
     * as the {@link IllegalStateException} it carries, not as a failed scan.
     */
    private static final class NotReady extends RuntimeException {
        private static final long serialVersionUID = 1L;
        final IllegalStateException reason;

        NotReady(IllegalStateException reason) {
            super(reason.getMessage(), null, false, false);
            this.reason = reason;
        }
    }

    /** An exception as it is, anything else thrown as the cause of a failed step. */
    private static Exception asFailure(String step, Throwable thrown) {
        if (thrown instanceof Exception) {
            return (Exception) thrown;
        }
        return TwainException.inLibrary(step, "unexpected " + thrown, FailureKind.OTHER, thrown);
    }
}
