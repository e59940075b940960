package scanlink.scan.check;

import QZ.korvel.twain.Version;

/**
 * The report as one HTML page without anything outside it: a table of the checks, then each
 * check's findings with the triplets that decided them (those of a PASS folded away).
 */
final class HtmlReport {
    private HtmlReport() {}

    static String of(Report report, String traceName) {
        StringBuilder html = new StringBuilder();
        html.append("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">")
                .append("<title>Driver check: ").append(escape(name(report))).append("</title>")
                .append("<style>body{font-family:sans-serif;margin:2em}td,th{padding:2px 8px;")
                .append("text-align:left;vertical-align:top}.PASS{color:#176117}.WARN{color:#8a5a00}")
                .append(".FAIL{color:#b00020;font-weight:bold}pre{margin:0 0 0 2em;font-size:85%}")
                .append("</style></head><body>\n");
        html.append("<h1>Driver check: ").append(escape(name(report))).append("</h1>\n<p>")
                .append(escape(TextReport.summary(report))).append("</p>\n<ul>");
        item(html, "Started " + report.started());
        item(html, "Binding " + Version.coordinates());
        item(html, "Source: " + (report.source() != null ? report.source() : "none opened"));
        for (String line : report.header()) {
            item(html, line);
        }
        item(html, "Trace of every triplet: " + traceName);
        html.append("</ul>\n<table><tr><th>Result</th><th>Check</th><th>Time</th></tr>\n");
        for (CheckResult check : report.checks()) {
            html.append("<tr><td class=\"").append(check.verdict()).append("\">")
                    .append(check.verdict()).append("</td><td><a href=\"#").append(anchor(check))
                    .append("\">").append(escape(check.name())).append("</a></td><td>")
                    .append(check.millis()).append(" ms</td></tr>\n");
        }
        html.append("</table>\n");
        for (CheckResult check : report.checks()) {
            html.append("<h2 id=\"").append(anchor(check)).append("\"><span class=\"")
                    .append(check.verdict()).append("\">").append(check.verdict())
                    .append("</span> ").append(escape(check.name())).append("</h2>\n");
            for (Finding finding : check.findings()) {
                html.append("<p><span class=\"").append(finding.verdict()).append("\">")
                        .append(finding.verdict()).append("</span> ")
                        .append(escape(finding.text())).append("</p>\n");
                if (!finding.triplets().isEmpty()) {
                    html.append(finding.verdict() == Verdict.PASS ? "<details>" : "<details open>")
                            .append("<summary>").append(finding.triplets().size())
                            .append(" lines of the trace</summary><pre>");
                    for (String triplet : finding.triplets()) {
                        html.append(escape(triplet)).append('\n');
                    }
                    html.append("</pre></details>\n");
                }
            }
        }
        return html.append("</body></html>\n").toString();
    }

    private static String name(Report report) {
        return report.source() != null ? report.source().productName() : "no source";
    }

    private static void item(StringBuilder html, String text) {
        html.append("<li>").append(escape(text)).append("</li>");
    }

    private static String anchor(CheckResult check) {
        return check.name().replaceAll("[^A-Za-z0-9]+", "-");
    }

    static String escape(String text) {
        StringBuilder escaped = new StringBuilder(text.length());
        for (char c : text.toCharArray()) {
            switch (c) {
                case '<' -> escaped.append("&lt;");
                case '>' -> escaped.append("&gt;");
                case '&' -> escaped.append("&amp;");
                case '"' -> escaped.append("&quot;");
                default -> escaped.append(c);
            }
        }
        return escaped.toString();
    }
}
