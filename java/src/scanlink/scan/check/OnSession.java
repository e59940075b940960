package scanlink.scan.check;

import QZ.korvel.twain.ScanSession;

/** Runs a step that may throw on the session's thread, and throws its failure here. */
final class OnSession {
    private record Answer<T>(T value, Exception failure) {}

    private OnSession() {}

    static <T> T run(ScanSession session, Steps.Step<T> step) throws Exception {
        Answer<T> answer = session.call(() -> {
            try {
                return new Answer<>(step.run(), null);
            } catch (Exception e) {
                return new Answer<>(null, e);
            }
        });
        if (answer.failure() != null) {
            throw answer.failure();
        }
        return answer.value();
    }
}
