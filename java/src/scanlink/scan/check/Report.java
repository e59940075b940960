package scanlink.scan.check;

import QZ.korvel.twain.SourceIdentity;
import java.time.Instant;
import java.util.List;

/**
 * What the driver check found: the source, what the trace told of the library, the host and the
 * manager, every check, and the step that hung when one did.
 *
 * @param source the source checked, or null when none could be opened
 * @param header the trace's lines of the library, the host, the manager and the source
 * @param checks the checks in the order they ran
 * @param started when the check began
 * @param hung the step that never returned, or null
 */
record Report(SourceIdentity source, List<String> header, List<CheckResult> checks,
        Instant started, String hung) {
    /** Whether any check failed, which the scan program's exit status tells. */
    boolean failed() {
        return hung != null || checks.stream().anyMatch(c -> c.verdict() == Verdict.FAIL);
    }

    int count(Verdict verdict) {
        return (int) checks.stream().filter(c -> c.verdict() == verdict).count();
    }
}
