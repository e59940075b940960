package QZ.korvel.twain;

/** The states a session's steps need, checked before anything is sent. */
final class SessionStates {
    private SessionStates() {}

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
