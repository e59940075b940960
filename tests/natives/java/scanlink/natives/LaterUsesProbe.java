package scanlink.natives;

import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.Trace;
import QZ.korvel.twain.TwainEx;
import QZ.korvel.twain.Version;

/**
 * Run in a VM of its own whose library cannot be loaded: the first use, then each later use of a
 * public class, one line each with the error's class, its message and its cause's message.
 */
public final class LaterUsesProbe {
    private LaterUsesProbe() {}

    interface Use {
        void run() throws Exception;
    }

    static void tell(String what, Use use) {
        try {
            use.run();
            System.out.println(what + " worked");
        } catch (Throwable e) {
            Throwable cause = e.getCause();
            System.out.println(what + " " + e.getClass().getSimpleName() + " " + e.getMessage()
                    + " | " + (cause == null ? "no cause" : cause.getMessage()));
        }
    }

    public static void main(String[] args) {
        tell("first", TwainEx::getState);
        tell("Trace.stop", Trace::stop);
        tell("Trace.start", () -> Trace.start("unused"));
        tell("ScanSession.open", () -> ScanSession.open("scanlink32", "Tests", "Later uses"));
        tell("Version.library", Version::library);
    }
}
