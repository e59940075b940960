package scanlink.scan.check;

import QZ.korvel.twain.Version;

/**
 * The report as plain text, the HTML page's twin: a line per check, then each finding with the
 * triplets that decided it, those of a pass too.
 */
final class TextReport {
    private TextReport() {}

    static String of(Report report, String traceName) {
        StringBuilder text = new StringBuilder();
        text.append("scanlink32 driver check, ").append(report.started()).append('\n');
        text.append("Binding ").append(Version.coordinates()).append('\n');
        text.append("Source: ").append(report.source() != null ? report.source() : "none opened")
                .append('\n');
        for (String line : report.header()) {
            text.append(line).append('\n');
        }
        text.append("Trace: ").append(traceName).append('\n');
        text.append(summary(report)).append("\n\n");
        for (CheckResult check : report.checks()) {
            text.append(String.format("%-4s  %-36s %7d ms%n", check.verdict(), check.name(),
                    check.millis()));
        }
        for (CheckResult check : report.checks()) {
            text.append("\n").append(check.verdict()).append("  ").append(check.name())
                    .append('\n');
            for (Finding finding : check.findings()) {
                text.append("  ").append(finding.verdict()).append("  ").append(finding.text())
                        .append('\n');
                for (String triplet : finding.triplets()) {
                    text.append("        ").append(triplet).append('\n');
                }
            }
        }
        return text.toString();
    }

    static String summary(Report report) {
        return report.checks().size() + " checks: " + report.count(Verdict.PASS) + " passed, "
                + report.count(Verdict.WARN) + " warned, " + report.count(Verdict.FAIL)
                + " failed" + (report.hung() != null ? "; stopped: " + report.hung() : "");
    }
}
