package scanlink.natives;

import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.Trace;
import QZ.korvel.twain.TwainEx;
import QZ.korvel.twain.Version;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.concurrent.CyclicBarrier;
import java.util.concurrent.TimeUnit;

/**
 * Run in a VM of its own: one thread per argument, each making the first use of that public class
 * of the binding, all released at once. Prints "ended" when every use has returned, or the stacks
 * of the threads still waiting once the deadline has passed.
 */
public final class FirstUses {
    private FirstUses() {}

    /** The first use of each public class whose methods reach the library. */
    static void use(String publicClass) throws Exception {
        switch (publicClass) {
            case "TwainEx":
                TwainEx.getState();
                break;
            case "Trace":
                Trace.stop();
                break;
            case "Version":
                Version.library();
                break;
            case "ScanSession":
                try (ScanSession session = ScanSession.open("scanlink32", "Tests", "First use")) {
                    session.state();
                } catch (IllegalStateException e) {
                    // Another thread's session is open: the class was used all the same.
                }
                break;
            default:
                throw new IllegalArgumentException(publicClass);
        }
    }

    public static void main(String[] args) throws Exception {
        CyclicBarrier start = new CyclicBarrier(args.length);
        List<Thread> threads = new ArrayList<>();
        List<String> failures = new ArrayList<>();
        for (String publicClass : args) {
            Thread thread = new Thread(() -> {
                try {
                    start.await();
                    use(publicClass);
                } catch (Throwable e) {
                    synchronized (failures) {
                        failures.add(publicClass + ": " + e);
                    }
                }
            }, "first use of " + publicClass);
            thread.start();
            threads.add(thread);
        }
        long deadline = System.nanoTime() + TimeUnit.SECONDS.toNanos(30);
        for (Thread thread : threads) {
            thread.join(Math.max(1, TimeUnit.NANOSECONDS.toMillis(deadline - System.nanoTime())));
        }
        StringBuilder stuck = new StringBuilder();
        for (Map.Entry<Thread, StackTraceElement[]> entry : Thread.getAllStackTraces().entrySet()) {
            if (threads.contains(entry.getKey()) && entry.getKey().isAlive()) {
                stuck.append(entry.getKey().getName()).append(" waits at\n");
                for (StackTraceElement frame : entry.getValue()) {
                    stuck.append("  ").append(frame).append('\n');
                }
            }
        }
        System.out.println(stuck.length() > 0 ? "stuck:\n" + stuck
                : failures.isEmpty() ? "ended" : "failed: " + failures);
        System.out.flush();
        // A deadlocked VM would never exit by itself.
        Runtime.getRuntime().halt(0);
    }
}
