package scanlink.testsupport;

import java.util.concurrent.Callable;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.Future;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.TimeoutException;
import java.util.function.BooleanSupplier;

/**
 * Waits in tests for what another thread brings about, within a bound that only a hang exceeds. A
 * thread that hangs in a wait for a page cannot be freed from outside, and the session's teardown
 * would queue behind it; so a scan that outlives its bound stops the test run with a message that
 * says which scan did not end, instead of leaving the run to the test driver's time-out.
 */
public final class Waiting {
    public static final long BOUND_MILLIS = 20_000;

    private Waiting() {}

    /** Returns once the condition holds; fails when it has not within the bound. */
    public static void until(BooleanSupplier condition, String what) {
        long deadline = System.nanoTime() + BOUND_MILLIS * 1_000_000;
        while (!condition.getAsBoolean()) {
            if (System.nanoTime() > deadline) {
                throw new AssertionError("waited " + BOUND_MILLIS + " ms for " + what);
            }
            try {
                Thread.sleep(5);
            } catch (InterruptedException e) {
                throw new AssertionError("interrupted while waiting for " + what, e);
            }
        }
    }

    /**
     * The result of a scan or a call made on another thread, once it has ended; past the bound
     * the run stops with a message that names {@code what}.
     */
    public static <T> T within(Future<T> future, String what) throws Exception {
        try {
            return future.get(BOUND_MILLIS, TimeUnit.MILLISECONDS);
        } catch (TimeoutException e) {
            throw stop(what);
        } catch (ExecutionException e) {
            throw e.getCause() instanceof Exception ? (Exception) e.getCause() : e;
        }
    }

    /** Runs a scan, or any call that waits for one, on this thread within the bound. */
    public static <T> T scan(String what, Callable<T> scan) throws Exception {
        CountDownLatch ended = new CountDownLatch(1);
        Thread watchdog = new Thread(() -> {
            try {
                if (!ended.await(BOUND_MILLIS, TimeUnit.MILLISECONDS)) {
                    stop(what);
                }
            } catch (InterruptedException e) {
                // the scan ended and its watchdog with it
            }
        }, "watchdog of " + what);
        watchdog.setDaemon(true);
        watchdog.start();
        try {
            return scan.call();
        } finally {
            ended.countDown();
        }
    }

    private static AssertionError stop(String what) {
        System.err.println();
        System.err.println(what + " did not end within " + BOUND_MILLIS + " ms; stopping the run,"
                + " since a thread waiting for a page cannot be freed from outside");
        System.err.flush();
        Runtime.getRuntime().halt(3);
        return new AssertionError(what); // not reached
    }
}
