package scanlink.scan.check;

import QZ.korvel.twain.Capability;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.SourceIdentity;
import QZ.korvel.twain.Trace;
import java.io.IOException;
import java.io.PrintStream;
import java.nio.file.Path;
import java.time.Instant;
import java.util.List;

/**
 * Checks what a TWAIN driver really does, step by step, each step within a time limit, and writes
 * a report (HTML, with a plain-text twin) beside the trace of every triplet it sent: what a user
 * sends with a bug report.
 */
public final class DriverCheck {
    /** The time each step is given by default. */
    public static final long STEP_LIMIT_MILLIS = 30_000;

    private DriverCheck() {}

    /**
     * Runs every check on the source, writes the report, its twin and the trace, and prints a
     * line per check.
     *
     * @param report the HTML report's file, ending in .html
     * @param sourceName the product name of the source to check, or null for the default
     * @param out where the lines go
     * @return whether any check failed
     * @throws IOException if the report or the trace cannot be written
     */
    public static boolean run(Path report, String sourceName, PrintStream out) throws IOException {
        Report result = report(report, sourceName, STEP_LIMIT_MILLIS);
        for (CheckResult check : result.checks()) {
            out.printf("%-4s  %s%n", check.verdict(), check.name());
        }
        ReportFiles files = ReportFiles.of(report);
        out.println(TextReport.summary(result) + ". The report is " + files.html() + " (and "
                + files.text().getFileName() + "), the trace " + files.trace().getFileName()
                + ".");
        return result.failed();
    }

    /** Runs every check and writes the files; the report. */
    static Report report(Path report, String sourceName, long stepLimitMillis)
            throws IOException {
        ReportFiles files = ReportFiles.of(report);
        if (!Trace.start(files.trace().toAbsolutePath().toString())) {
            throw new IOException("cannot write the trace " + files.trace());
        }
        Report result;
        try (TraceTail tail = new TraceTail(files.trace())) {
            result = check(tail, sourceName, stepLimitMillis);
        } finally {
            Trace.stop();
        }
        files.write(result);
        return result;
    }

    private static Report check(TraceTail tail, String sourceName, long stepLimitMillis) {
        Instant started = Instant.now();
        ScanSession session;
        try {
            session = ScanSession.open("scanlink32", "Examples", "Driver check");
        } catch (Exception e) {
            CheckResult failed = new CheckResult("opening the source manager");
            failed.add(new Finding(Verdict.FAIL, Steps.message(e), List.of()));
            return new Report(null, List.of(), List.of(failed), started, null);
        }
        Steps steps = new Steps(session, tail, stepLimitMillis);
        try {
            Checks checks = new Checks(steps);
            SourceIdentity[] opened = new SourceIdentity[1];
            checks.check("opening the source", check -> {
                opened[0] = steps.require(sourceName != null ? "opening \"" + sourceName + "\""
                                                             : "opening the default source",
                        () -> sourceName != null ? session.openSource(sourceName)
                                                 : openDefault(session), check);
                check.add(new Finding(Verdict.PASS, "opened " + opened[0], steps.triplets()));
            });
            if (opened[0] != null) {
                everyCheck(checks, opened[0]);
            }
            return new Report(opened[0], steps.headerLines(), checks.results(), started,
                    steps.hung());
        } finally {
            steps.close();
            // After a step that never returned the session's thread is inside a triplet for good:
            // closing would wait for ever, and the process ends without it.
            if (steps.hung() == null) {
                session.close();
            }
        }
    }

    private static SourceIdentity openDefault(ScanSession session) throws Exception {
        SourceIdentity source = session.defaultSource();
        session.openSource(source);
        return source;
    }

    private static void everyCheck(Checks checks, SourceIdentity source) {
        OpenCloseCheck.run(checks, source);
        if (checks.session().state() < 4) {
            checks.check("opening the source again", check -> checks.steps().require(
                    "opening the source", () -> {
                        checks.session().openSource(source);
                        return null;
                    }, check));
        }
        if (checks.session().state() != 4) {
            return;
        }
        List<Capability> listed = CapabilityChecks.run(checks);
        SettingsChecks.run(checks, listed);
        TransferChecks.run(checks);
        // The feeder's last check empties it: the cancels come first.
        CancelChecks.run(checks);
        FeederChecks.run(checks, listed);
    }
}
