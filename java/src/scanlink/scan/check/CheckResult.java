package scanlink.scan.check;

import java.util.ArrayList;
import java.util.List;

/** A check of the driver: what it found, and how long it took. */
final class CheckResult {
    private final String name;
    private final List<Finding> findings = new ArrayList<>();
    private long millis;

    CheckResult(String name) {
        this.name = name;
    }

    String name() {
        return name;
    }

    List<Finding> findings() {
        return findings;
    }

    void add(Finding finding) {
        findings.add(finding);
    }

    Verdict verdict() {
        Verdict verdict = Verdict.PASS;
        for (Finding finding : findings) {
            verdict = verdict.worse(finding.verdict());
        }
        return verdict;
    }

    long millis() {
        return millis;
    }

    void took(long millis) {
        this.millis = millis;
    }
}
