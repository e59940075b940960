package scanlink.bridge;

import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.SessionOption;
import QZ.korvel.twain.TwainException;
import java.util.List;
import java.util.stream.Collectors;
import scanlink.testsupport.Waiting;

/** The bridge processes of this VM, as a user's tools see them, and sessions that use them. */
final class Bridges {
    private Bridges() {}

    static ScanSession isolated() throws TwainException {
        return ScanSession.open("Acme", "Bridge tests", "Isolated", SessionOption.ISOLATED);
    }

    static ScanSession inProcess() throws TwainException {
        return ScanSession.open("Acme", "Bridge tests", "In process");
    }

    /** The bridge processes this VM started that are still alive. */
    static List<ProcessHandle> running() {
        return ProcessHandle.current().children()
                .filter(p -> p.info().command().orElse("").endsWith("scanlink-bridge"))
                .filter(ProcessHandle::isAlive).collect(Collectors.toList());
    }

    /** Sends a signal to every bridge of this VM. */
    static void signal(String signal) {
        for (ProcessHandle bridge : running()) {
            try {
                Process kill = new ProcessBuilder("kill", "-" + signal, Long.toString(bridge.pid()))
                        .inheritIO().start();
                Waiting.until(() -> !kill.isAlive(), "kill -" + signal);
            } catch (java.io.IOException e) {
                throw new AssertionError("cannot send " + signal + " to the bridge", e);
            }
        }
    }

    static void assertNoneLeft() {
        Waiting.until(() -> running().isEmpty(), "every bridge process to end");
    }
}
