package scanlink.scan.check;

import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TransferSteps;
import java.util.ArrayList;
import java.util.LinkedHashSet;
import java.util.List;
import java.util.Set;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.TimeoutException;
import java.util.stream.Collectors;

/**
 * Runs each step of the checks with a time limit, and quotes the triplets it sent. A step that
 * waits for the source past its limit has its wait ended; one that still does not return has left
 * the session inside a triplet that the source never answers, and no later step can run.
 */
final class Steps implements AutoCloseable {
    /** A step of a check, which the session runs. */
    interface Step<T> {
        T run() throws Exception;
    }

    /** A step that did not return within its limit. */
    static final class Hung extends Exception {
        Hung(String message) {
            super(message);
        }
    }

    /** The outcome of a step: its value or its failure, and the triplets it sent. */
    record Outcome<T>(T value, Exception failure, List<String> triplets, long millis) {
        boolean failed() {
            return failure != null;
        }
    }

    private final ScanSession session;
    private final TraceTail trace;
    private final long limitMillis;
    private final ExecutorService runner = Executors.newSingleThreadExecutor(task -> {
        Thread thread = new Thread(task, "driver check step");
        thread.setDaemon(true);
        return thread;
    });
    private final Set<String> headerLines = new LinkedHashSet<>();
    private String hung;

    Steps(ScanSession session, TraceTail trace, long limitMillis) {
        this.session = session;
        this.trace = trace;
        this.limitMillis = limitMillis;
    }

    ScanSession session() {
        return session;
    }

    /** What hung, when a step did; null while every step returned. */
    String hung() {
        return hung;
    }

    /**
     * Runs the step within the limit; its failure, a TwainException or any other, is the outcome's.
     *
     * @throws Hung when the step, or an earlier one, did not return within the limit
     */
    <T> Outcome<T> run(String what, Step<T> step) throws Hung {
        if (hung != null) {
            throw new Hung("not run: " + hung);
        }
        long started = System.nanoTime();
        Future<T> result = runner.submit(step::run);
        T value = null;
        Exception failure = null;
        try {
            value = await(result);
        } catch (ExecutionException e) {
            failure = e.getCause() instanceof Exception ? (Exception) e.getCause()
                                                         : new Exception(e.getCause());
        } catch (TimeoutException e) {
            // A wait for the source ends at once; a triplet the source never returns from does not.
            TransferSteps.cancelWait();
            try {
                value = result.get(limitMillis, TimeUnit.MILLISECONDS);
                failure = new Exception(what + ": no answer within " + seconds() + ", the wait "
                        + "was ended");
            } catch (TimeoutException | ExecutionException | InterruptedException again) {
                hung = what + " did not return within " + seconds();
                throw new Hung(hung);
            }
        }
        long millis = (System.nanoTime() - started) / 1_000_000;
        return new Outcome<>(value, failure, triplets(), millis);
    }

    /** Runs a step whose failure ends the check with a FAIL that names it. */
    <T> T require(String what, Step<T> step, CheckResult check) throws Hung {
        Outcome<T> outcome = run(what, step);
        if (outcome.failed()) {
            check.add(new Finding(Verdict.FAIL, what + " failed: " + message(outcome.failure()),
                    outcome.triplets()));
            throw new StopCheck();
        }
        return outcome.value();
    }

    /** Ends a check after a finding that leaves nothing more to test in it. */
    static final class StopCheck extends RuntimeException {
        StopCheck() {
            super(null, null, false, false);
        }
    }

    /** The triplets the trace gained since the last step, with anything the binding decided. */
    List<String> triplets() {
        List<String> lines = trace.newLines();
        lines.stream()
                .filter(line -> line.startsWith("# ") || line.contains(" manager ")
                        || line.contains(" source opened: "))
                .map(Steps::withoutTime)
                .forEach(headerLines::add);
        return lines.stream()
                .filter(line -> line.contains(" DG_") || line.contains(" rule: ")
                        || line.contains(" binding: "))
                .map(Steps::withoutTime)
                .collect(Collectors.toList());
    }

    /**
     * What the trace told of the library, the host, the manager and the sources opened: its
     * header, and its lines of the manager's file and the source's identity.
     */
    List<String> headerLines() {
        triplets();
        return new ArrayList<>(headerLines);
    }

    static String message(Exception failure) {
        return failure.getMessage() != null ? failure.getMessage() : failure.toString();
    }

    private <T> T await(Future<T> result) throws ExecutionException, TimeoutException {
        try {
            return result.get(limitMillis, TimeUnit.MILLISECONDS);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            throw new ExecutionException(e);
        }
    }

    private String seconds() {
        return limitMillis / 1000.0 + " s";
    }

    /** A trace line without its time stamp, which says nothing of the driver. */
    private static String withoutTime(String line) {
        int space = line.indexOf(' ');
        return space > 0 && line.startsWith("20") ? line.substring(space + 1) : line;
    }

    @Override
    public void close() {
        runner.shutdownNow();
    }
}
