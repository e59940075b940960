package QZ.korvel.twain;

/**
 * The states a session's steps need, checked before anything is sent, and why the library refused
 * a call. A step asked for in a state that does not allow it is the caller's mistake, not a failure
 * of TWAIN: it throws {@link IllegalStateException}, with no TWAIN codes.
 */
final class SessionStates {
    /** Whether the loaded library tells why it refused a call; false once it was found not to. */
    private static volatile boolean refusalsTold = true;

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

    /** {@link #lastRefusal()}, or null from a library that does not tell. */
    static String refusal() {
        if (!refusalsTold) {
            return null;
        }
        try {
            return lastRefusal();
        } catch (UnsatisfiedLinkError e) {
            refusalsTold = false;
            return null;
        }
    }

    /** The manager is open: state 3 or above. */
    static void requireManager(String step) {
        if (SessionPort.current().state() < 3) {
            throw notNow(step, "the source manager is not open");
        }
    }

    /** The manager is open and no source is: state 3. */
    static void requireNoSource(String step) {
        int state = SessionPort.current().state();
        if (state != 3) {
            throw notNow(step, state > 3 ? "a source is open" : "the source manager is not open");
        }
    }

    /** A source is open: state 4 or above. */
    static void requireSource(String step) {
        if (SessionPort.current().state() < 4) {
            throw notNow(step, "no source is open");
        }
    }

    /** The step and why the session cannot take it now, as "setting the pixel type: no source is open". */
    static IllegalStateException notNow(String step, String reason) {
        return new IllegalStateException(step + ": " + reason);
    }
}
