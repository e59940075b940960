package scanlink.scan.check;

import QZ.korvel.twain.ScanSession;
import java.util.ArrayList;
import java.util.List;

/**
 * Runs the checks one after another, each timed, and keeps their results. A check ends at its
 * first finding that leaves nothing more to test; once a step has hung, every later check is
 * reported as not run.
 */
final class Checks {
    /** The body of a check, which adds its findings. */
    interface Body {
        void run(CheckResult check) throws Exception;
    }

    private final Steps steps;
    private final List<CheckResult> results = new ArrayList<>();

    Checks(Steps steps) {
        this.steps = steps;
    }

    Steps steps() {
        return steps;
    }

    ScanSession session() {
        return steps.session();
    }

    List<CheckResult> results() {
        return results;
    }

    void check(String name, Body body) {
        CheckResult check = new CheckResult(name);
        results.add(check);
        long started = System.nanoTime();
        try {
            body.run(check);
        } catch (Steps.StopCheck e) {
            // The finding that ended it is recorded.
        } catch (Steps.Hung e) {
            check.add(new Finding(Verdict.FAIL, e.getMessage(), steps.triplets()));
        } catch (Exception e) {
            check.add(new Finding(Verdict.FAIL, Steps.message(e), steps.triplets()));
        } finally {
            check.took((System.nanoTime() - started) / 1_000_000);
        }
    }
}
