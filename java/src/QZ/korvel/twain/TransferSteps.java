package QZ.korvel.twain;

/**
 * A transfer one step at a time, for a program that checks what a source does in each state: the
 * announcement of a page awaited and left pending (state 6), the page's description
 * (DAT_IMAGEINFO), a native transfer left unended (state 7), from which {@link
 * TwainEx#stopTransfer} cancels, and the end of that transfer alone, which leaves the transfers
 * still pending announced. They follow the rules of {@link TwainEx}: the thread that
 * registered sends every request; in a {@link ScanSession}, run them with {@link
 * ScanSession#call}. {@link TwainEx#acquireImage} takes a page left announced without waiting.
 */
public final class TransferSteps {
    private TransferSteps() {}

    /**
     * Waits, on the thread that enabled the source, until the source announces a transfer, and
     * leaves it announced instead of taking it.
     *
     * @return true in state 6; false when the source asked to be closed, the wait was cancelled
     *     or the session was taken down, the codes telling why
     * @throws UnsatisfiedLinkError if the native library cannot be loaded, saying why
     */
    public static boolean awaitTransferReady() {
        NativeLibrary.require();
        return TransferNatives.awaitTransferReady();
    }

    /**
     * Ends a wait of {@link #awaitTransferReady} or {@link TwainEx#acquireImage} from any thread,
     * sending nothing from the caller's: for a program that gives each step a time limit.
     */
    public static void cancelWait() {
        NativeLibrary.require();
        PageWait.cancel();
    }

    /**
     * What the source tells of the page announced or being transferred (DAT_IMAGEINFO, state 6
     * or 7).
     *
     * @return the description, or null when the source refused, the codes telling why
     * @throws UnsatisfiedLinkError if the native library cannot be loaded, saying why
     */
    public static ImageInfo imageInfo() {
        NativeLibrary.require();
        byte[] record = TransferNatives.imageInfo();
        return record != null ? ImageInfo.read(new NativeRecord.Reader(record)) : null;
    }

    /**
     * Takes the announced page by native transfer and drops it, leaving the transfer unended in
     * state 7.
     *
     * @return true in state 7
     * @throws UnsatisfiedLinkError if the native library cannot be loaded, saying why
     */
    public static boolean transferWithoutEnding() {
        NativeLibrary.require();
        return TransferNatives.transferWithoutEnding();
    }

    /**
     * Ends the transfer of state 7 (DAT_PENDINGXFERS / MSG_ENDXFER) and nothing more: with
     * transfers still pending the session is in state 6, where the next one is announced already
     * ({@link #transferWithoutEnding} or {@link TwainEx#acquireImage} takes it), else in state 5.
     *
     * @return the Count of transfers the source reports pending, 65535 for an unknown number of
     *     them; -1 when it refused, the codes telling why
     * @throws UnsatisfiedLinkError if the native library cannot be loaded, saying why
     */
    public static int endTransfer() {
        NativeLibrary.require();
        return TransferNatives.endTransfer();
    }
}
