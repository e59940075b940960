package QZ.korvel.twain;

/** The states a session's steps need, checked before anything is sent. */
final class SessionStates {
    static {
        TwainEx.loadLibrary();
    }

    private SessionStates() {}

    /**
     * Why the session last refused a call, as the library words it: the native method's name and
     * the reason, for instance {@code "getPixelType: the owner, thread 4711, does not wait"}. A
     * refused call answers false, or a getter its default value, with the codes TWRC_FAILURE and
     * TWCC_SEQERROR, the same codes as a real sequence error of the source; this text tells the two
     * apart. It is the session's, as the codes are: a refusal on any thread sets it, and any later
     * call of the session that is carried out clears it as it starts (on its own thread, on the
     * owner's, or at once because it had nothing to do). Reading the state, the codes or this text
     * changes nothing. Any thread may read it at any time.
     *
     * @return the text, or null when the last call of the session was not refused
     */
    static native String lastRefusal();

    /** The manager is open: state 3 or above. */
    static void requireManager(String step) throws TwainException {
        if (TwainEx.getState() < 3) {
            throw TwainException.atStep(step, "the source manager is not open", null);
        }
    }

    /** The manager is open and no source is: state 3. */
    static void requireNoSource(String step) throws TwainException {
        int state = TwainEx.getState();
        if (state != 3) {
            throw TwainException.atStep(step,
                    state > 3 ? "a source is open" : "the source manager is not open", null);
        }
    }

    /** A source is open: state 4 or above. */
    static void requireSource(String step) throws TwainException {
        if (TwainEx.getState() < 4) {
            throw TwainException.atStep(step, "no source is open", null);
        }
    }
}
