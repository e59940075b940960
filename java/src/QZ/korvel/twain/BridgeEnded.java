package QZ.korvel.twain;

/**
 * A bridge process that is gone, met inside a call that answers no {@link TwainException}: the
 * session's steps catch it and throw the failure it carries.
 */
final class BridgeEnded extends RuntimeException {
    private static final long serialVersionUID = 1L;

    private final TwainException failure;

    BridgeEnded(TwainException failure) {
        super(failure.getMessage(), failure, false, false);
        this.failure = failure;
    }

    TwainException failure() {
        return failure;
    }
}
