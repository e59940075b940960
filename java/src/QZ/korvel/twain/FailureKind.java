package QZ.korvel.twain;

/**
 * What kind of failure a {@link TwainException} reports, for a program that acts on it rather than
 * only showing its message: ask the user to clear a jam, to load the feeder, to plug the scanner
 * back in, or to choose another source.
 *
 * <pre>{@code
 * try {
 *     session.openSource("Office scanner");
 * } catch (TwainException e) {
 *     switch (e.kind()) {
 *         case NO_SUCH_SOURCE: chooseAnotherSource(); break;
 *         case DEVICE_OFFLINE: askToSwitchItOn(); break;
 *         default: show(e.getMessage());
 *     }
 * }
 * }</pre>
 *
 * <p>TWAIN tells a failure through its condition code, which each kind lists; a failure that the
 * library finds itself, without TWAIN codes, has the kind that fits it, such as {@link
 * #NO_SUCH_SOURCE} for a name that no source has.
 */
public enum FailureKind {
    /** No source of that name, or none the source manager can open (TWCC_NODS). */
    NO_SUCH_SOURCE(3),
    /**
     * The source does not have the capability, or does not take this operation on it
     * (TWCC_BADCAP, TWCC_CAPUNSUPPORTED, TWCC_CAPBADOPERATION).
     */
    CAPABILITY_UNSUPPORTED(6, 13, 14),
    /** The source refused the value: outside what it takes (TWCC_BADVALUE). */
    VALUE_REFUSED(10),
    /** The paper jammed (TWCC_PAPERJAM). */
    PAPER_JAM(20),
    /** The feeder pulled in two sheets at once (TWCC_PAPERDOUBLEFEED). */
    DOUBLE_FEED(21),
    /** There is no paper to scan (TWCC_NOMEDIA). */
    FEEDER_EMPTY(29),
    /**
     * The user or the source cancelled (result code TWRC_CANCEL), or the thread that waited for
     * the call was interrupted.
     */
    CANCELLED,
    /**
     * The device went off line, was unplugged or failed on its own (TWCC_CHECKDEVICEONLINE,
     * TWCC_OPERATIONERROR).
     */
    DEVICE_OFFLINE(5, 23),
    /**
     * The request came when the source or the library does not take it (TWCC_SEQERROR): in
     * another state, or, for a call that the library refused, from another thread.
     */
    OUT_OF_SEQUENCE(11),
    /** Any other failure: the message, the codes and the cause tell more. */
    OTHER;

    private static final int TWRC_CANCEL = 3;

    private final int[] conditionCodes;

    FailureKind(int... conditionCodes) {
        this.conditionCodes = conditionCodes;
    }

    /**
     * The kind of a failure that TWAIN reported.
     *
     * @param resultCode the result code (its 16 bits count)
     * @param conditionCode the condition code (its 16 bits count)
     * @return {@link #CANCELLED} for TWRC_CANCEL, else the kind that lists the condition code, else
     *     {@link #OTHER}
     */
    public static FailureKind of(int resultCode, int conditionCode) {
        if ((resultCode & 0xFFFF) == TWRC_CANCEL) {
            return CANCELLED;
        }
        for (FailureKind kind : values()) {
            for (int code : kind.conditionCodes) {
                if (code == (conditionCode & 0xFFFF)) {
                    return kind;
                }
            }
        }
        return OTHER;
    }
}
