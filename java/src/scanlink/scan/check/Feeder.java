package scanlink.scan.check;

import QZ.korvel.twain.Capability;
import QZ.korvel.twain.CapabilityValue;
import QZ.korvel.twain.ScanSession;

/** Whether the source takes its pages from a feeder now, and whether that feeder holds paper. */
final class Feeder {
    /** Sheets that every check together needs in a source that only feeds. */
    static final int SHEETS_NEEDED = 20;

    private Feeder() {}

    /**
     * Ends the check with a WARN when the pages would come from an empty feeder: a source that
     * feeds cannot scan without paper, which the person running the check must load.
     */
    static void loadedWhereNeeded(Checks checks, CheckResult check) throws Exception {
        ScanSession session = checks.session();
        Steps.Outcome<Boolean> empty = checks.steps().run("reading CAP_FEEDERENABLED and "
                + "CAP_FEEDERLOADED", () -> feeds(session) && !session.isFeederLoaded());
        if (!empty.failed() && empty.value()) {
            check.add(new Finding(Verdict.WARN, "the source takes its pages from the feeder, which "
                    + "is empty: load at least " + SHEETS_NEEDED + " sheets to check this",
                    empty.triplets()));
            throw new Steps.StopCheck();
        }
    }

    /** CAP_FEEDERENABLED's current value; false for a source without a feeder. */
    static boolean feeds(ScanSession session) {
        try {
            CapabilityValue enabled = session.current(Capability.CAP_FEEDERENABLED);
            return Values.same(enabled.current(), true);
        } catch (Exception e) {
            return false;
        }
    }
}
