package scanlink.scan.check;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Locale;

/** The report, its plain-text twin and the trace, side by side: NAME.html, NAME.txt, NAME.trace. */
record ReportFiles(Path html, Path text, Path trace) {
    static ReportFiles of(Path html) {
        String name = html.getFileName().toString();
        if (!name.toLowerCase(Locale.ROOT).endsWith(".html")) {
            throw new IllegalArgumentException("the report's name must end in .html: " + html);
        }
        String stem = name.substring(0, name.length() - ".html".length());
        return new ReportFiles(html, html.resolveSibling(stem + ".txt"),
                html.resolveSibling(stem + ".trace"));
    }

    void write(Report report) throws IOException {
        Files.writeString(html, HtmlReport.of(report, trace.getFileName().toString()),
                StandardCharsets.UTF_8);
        Files.writeString(text, TextReport.of(report, trace.getFileName().toString()),
                StandardCharsets.UTF_8);
    }
}
