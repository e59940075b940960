package QZ.korvel.twain;

/** How a {@link ScanSession} runs, chosen when it is opened. */
public enum SessionOption {
    /**
     * The whole session runs in a bridge process of its own, a program that ships with the
     * library and runs the same session code: a driver that crashes or hangs ends that process,
     * not the VM. The session keeps its API; the bridge's end is a {@link TwainException} that
     * says so, with its exit code, after which the session is closed. {@link ScanSession#call}
     * and {@link ScanSession#perform}, which run {@link TwainEx} in this process, are refused.
     */
    ISOLATED
}
