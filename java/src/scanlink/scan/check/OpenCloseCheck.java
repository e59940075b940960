package scanlink.scan.check;

import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.SourceIdentity;

/** The source closed and opened again five times, with the state after each step. */
final class OpenCloseCheck {
    static final int CYCLES = 5;

    private OpenCloseCheck() {}

    static void run(Checks checks, SourceIdentity source) {
        ScanSession session = checks.session();
        checks.check("open and close", check -> {
            for (int cycle = 1; cycle <= CYCLES; cycle++) {
                Steps.Outcome<Integer> closed = checks.steps().run("closing the source, cycle "
                        + cycle, () -> {
                            session.closeSource();
                            return session.state();
                        });
                if (!expect(check, closed, cycle, "closed", 3)) {
                    // A source that would not close is closed once more, so the cycles go on.
                    checks.steps().run("closing the source again", () -> {
                        session.closeSource();
                        return null;
                    });
                }
                Steps.Outcome<Integer> opened = checks.steps().run("opening the source, cycle "
                        + cycle, () -> {
                            session.openSource(source);
                            return session.state();
                        });
                if (!expect(check, opened, cycle, "opened", 4)) {
                    throw new Steps.StopCheck();
                }
            }
        });
    }

    private static boolean expect(CheckResult check, Steps.Outcome<Integer> outcome, int cycle,
            String what, int state) {
        boolean right = !outcome.failed() && outcome.value() == state;
        check.add(new Finding(right ? Verdict.PASS : Verdict.FAIL, "cycle " + cycle + ": "
                + (outcome.failed() ? "not " + what + ": " + Steps.message(outcome.failure())
                                    : what + ", state " + outcome.value()
                                            + (right ? "" : ", not " + state))
                + " in " + outcome.millis() + " ms", outcome.triplets()));
        return right;
    }
}
