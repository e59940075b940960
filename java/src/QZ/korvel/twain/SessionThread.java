package QZ.korvel.twain;

import java.util.concurrent.BlockingQueue;
import java.util.concurrent.Callable;
import java.util.concurrent.Future;
import java.util.concurrent.FutureTask;
import java.util.concurrent.LinkedBlockingQueue;

/**
 * The one thread on which a session makes every call: the thread that registers owns the window
 * through which the source's events arrive, so the session never moves to another. Tasks run one
 * at a time, in the order they were queued.
 */
final class SessionThread {
    private static final Runnable STOP = new FutureTask<>(() -> null);

    private final BlockingQueue<Runnable> tasks = new LinkedBlockingQueue<>();
    private final Thread thread;
    private boolean accepting = true;

    SessionThread(String name) {
        thread = new Thread(this::runTasks, name);
        // A session that is never closed must not keep the VM alive.
        thread.setDaemon(true);
        thread.start();
    }

    boolean isCurrent() {
        return Thread.currentThread() == thread;
    }

    /** Queues a task; null once the thread has been told to finish. */
    synchronized <T> Future<T> submit(Callable<T> task) {
        if (!accepting) {
            return null;
        }
        FutureTask<T> future = new FutureTask<>(task);
        tasks.add(future);
        return future;
    }

    /** Queues the last task: it runs after every task queued before it, and the thread then ends. */
    synchronized void finish(Runnable last) {
        if (accepting) {
            accepting = false;
            tasks.add(new FutureTask<>(last, null));
            tasks.add(STOP);
        }
    }

    private void runTasks() {
        while (true) {
            Runnable task;
            try {
                task = tasks.take();
            } catch (InterruptedException e) {
                continue; // the session ends only through finish()
            }
            if (task == STOP) {
                return;
            }
            task.run();
        }
    }
}
