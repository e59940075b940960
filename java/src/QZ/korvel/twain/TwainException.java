package QZ.korvel.twain;

/**
 * A step of a scan that failed. It carries the step, the TWAIN result and condition codes that the
 * session held right after it, and the session's state; its message names them all, for example
 * "opening the default source failed (TWAIN result code 1 (TWRC_FAILURE), condition code 3
 * (TWCC_NODS), state 3)".
 *
 * <p>When the step failed in Java rather than in TWAIN (a page that could not be read, for
 * instance), the message says why after the step, and the cause is the exception that was thrown.
 */
public final class TwainException extends Exception {
    private static final long serialVersionUID = 1L;

    /** What was being done. */
    private final String step;
    /** The TWAIN result code after the step. */
    private final int resultCode;
    /** The TWAIN condition code after the step. */
    private final int conditionCode;
    /** The session's state after the step. */
    private final int state;

    /**
     * A failed step with the codes and state given.
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
    }

    /** The step that just failed, with the codes and state that the session holds now. */
    static TwainException atStep(String step) {
        return atStep(step, null, null);
    }

    /** The same, with the reason and the exception behind it. */
    static TwainException atStep(String step, String detail, Throwable cause) {
        return new TwainException(step, detail, TwainEx.getResultCode(), TwainEx.getConditionCode(),
                TwainEx.getState(), cause);
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
     * The TWAIN result code after the step.
     *
     * @return the code, 0 to 65535
     */
    public int resultCode() {
        return resultCode;
    }

    /**
     * The standard's name of {@link #resultCode()}.
     *
     * @return the name, such as TWRC_FAILURE, or null for a code that the standard does not name
     */
    public String resultName() {
        return TwainCodes.resultName(resultCode);
    }

    /**
     * The TWAIN condition code after the step.
     *
     * @return the code, 0 to 65535
     */
    public int conditionCode() {
        return conditionCode;
    }

    /**
     * The standard's name of {@link #conditionCode()}.
     *
     * @return the name, such as TWCC_NODS, or null for a code that the standard does not name
     */
    public String conditionName() {
        return TwainCodes.conditionName(conditionCode);
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
