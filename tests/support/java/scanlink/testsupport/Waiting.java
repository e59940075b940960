package scanlink.testsupport;

import java.util.function.BooleanSupplier;

/** Waits in tests for what another thread brings about, within a bound that only a hang exceeds. */
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
}
