package QZ.korvel.twain;

/**
 * A step of a scan that failed. It carries the step, the TWAIN result and condition codes that the
 * session held right after it, the session's state, and the {@link FailureKind kind} of failure
 * that a program can act on; its message names them all, for example "opening the default source
 * failed (TWAIN result code 1 (TWRC_FAILURE), condition code 3 (TWCC_NODS), state 3)".
 *
 * <p>When the library refused the call itself (one made from a thread that may not make it now,
 * say), the message says why after the step.
 *
 * <p>When the step failed in the library rather than in TWAIN (no source of the name asked for, a
 * page that could not be read), there are no codes: {@link #resultCode()} and {@link
 * #conditionCode()} are -1, the message says why after the step, and the cause is the exception
 * that was thrown, if any. A call made when the session is not in a state for it (no source open,
 * for instance) is not a failed step: it throws {@link IllegalStateException}.
 */
public final class TwainException extends Exception {
    private static final long serialVersionUID = 1L;
    private static final int TWRC_FAILURE = 1;
    private static final int TWCC_SEQERROR = 11;

    /** What was being done. */
    private final String step;
    /** The TWAIN result code after the step, or -1. */
    private final int resultCode;
    /** The TWAIN condition code after the step, or -1. */
    private final int conditionCode;
    /** The session's state after the step. */
    private final int state;
    /** What kind of failure it is. */
    private final FailureKind kind;

    /**
     * A failed step with the codes and state given; its kind follows from the codes.
     *
     * @param step what was being done, such as "opening the default source"
     * @param detail why it failed when the codes do not tell it, or null
     * @param resultCode the TWAIN result code (its 16 bits count)
     * @param conditionCode the TWAIN condition code (its 16 bits count)
     * @param state the session's state, 0 to 7
     * @param cause the exception behind the failure, or null
     */
    public TwainException(String step, String detail, int resultCode, int conditionCode, int state,
            Throwable cause) {
        super(step + " failed" + (detail != null ? ": " + detail : "") + " ("
                        + TwainCodes.describe(resultCode, conditionCode) + ", state " + state + ")",
                cause);
        this.step = step;
        this.resultCode = resultCode & 0xFFFF;
        this.conditionCode = conditionCode & 0xFFFF;
        this.state = state;
        this.kind = FailureKind.of(resultCode, conditionCode);
    }

    /**
     * A step that failed in the library rather than in TWAIN: no codes.
     *
     * @param step what was being done
     * @param detail why it failed
     * @param kind what kind of failure it is
     * @param state the session's state, 0 to 7
     * @param cause the exception behind the failure, or null
     */
    private TwainException(String step, String detail, FailureKind kind, int state,
            Throwable cause) {
        super(step + " failed: " + detail, cause);
        this.step = step;
        this.resultCode = -1;
        this.conditionCode = -1;
        this.state = state;
        this.kind = kind;
    }

    /** The step that just failed, with the codes and state that the session holds now. */
    static TwainException atStep(String step) {
        return atStep(step, null, null);
    }

    /**
     * The same, with the reason and the exception behind it. A call the library refused adds why
     * it refused it.
     */
    static TwainException atStep(String step, String detail, Throwable cause) {
        int resultCode = SessionPort.current().resultCode();
        int conditionCode = SessionPort.current().conditionCode();
        String refusal = (resultCode & 0xFFFF) == TWRC_FAILURE
                        && (conditionCode & 0xFFFF) == TWCC_SEQERROR
                ? SessionStates.refusal()
                : null;
        if (refusal != null) {
            detail = detail != null ? detail + "; " + refusal : refusal;
        }
        return new TwainException(step, detail, resultCode, conditionCode, SessionPort.current().state(),
                cause);
    }

    /** A step that failed in the library, with the state the session is in now. */
    static TwainException inLibrary(String step, String detail, FailureKind kind,
            Throwable cause) {
        return new TwainException(step, detail, kind, SessionPort.current().state(), cause);
    }

    /** Throws for a step that returned false. */
    static void check(boolean succeeded, String step) throws TwainException {
        if (!succeeded) {
            throw atStep(step);
        }
    }

    /**
     * What was being done.
     *
     * @return the step, such as "opening the default source"
     */
    public String step() {
        return step;
    }

    /**
     * What kind of failure it is, for a program that acts on it.
     *
     * @return the kind; {@link FailureKind#OTHER} when none fits
     */
    public FailureKind kind() {
        return kind;
    }

    /**
     * The TWAIN result code after the step.
     *
     * @return the code, 0 to 65535, or -1 when the step failed in the library
     */
    public int resultCode() {
        return resultCode;
    }

    /**
     * The standard's name of {@link #resultCode()}.
     *
     * @return the name, such as TWRC_FAILURE, or null for a code that the standard does not name
     *     and when there is no code
     */
    public String resultName() {
        return resultCode >= 0 ? TwainCodes.resultName(resultCode) : null;
    }

    /**
     * The TWAIN condition code after the step.
     *
     * @return the code, 0 to 65535, or -1 when the step failed in the library
     */
    public int conditionCode() {
        return conditionCode;
    }

    /**
     * The standard's name of {@link #conditionCode()}.
     *
     * @return the name, such as TWCC_NODS, or null for a code that the standard does not name and
     *     when there is no code
     */
    public String conditionName() {
        return conditionCode >= 0 ? TwainCodes.conditionName(conditionCode) : null;
    }

    /**
     * The session's state after the step (see {@link TwainEx#getState}).
     *
     * @return the state, 0 to 7
     */
    public int state() {
        return state;
    }
}
