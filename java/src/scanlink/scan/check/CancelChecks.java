package scanlink.scan.check;

import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TransferSteps;
import QZ.korvel.twain.TwainEx;
import java.awt.image.BufferedImage;

/**
 * A scan cancelled in state 5 (enabled), 6 (a page announced) and 7 (a page transferred, its
 * transfer not ended): the source must go back to state 4 and scan a page again afterwards.
 */
final class CancelChecks {
    private CancelChecks() {}

    static void run(Checks checks) {
        for (int state = 5; state <= 7; state++) {
            int at = state;
            checks.check("cancel in state " + at, check -> cancel(checks, check, at));
        }
    }

    private static void cancel(Checks checks, CheckResult check, int state) throws Exception {
        ScanSession session = checks.session();
        Transfers transfers = new Transfers(checks, check);
        Feeder.loadedWhereNeeded(checks, check);
        transfers.transferCount(1);
        transfers.enable();
        if (state >= 6 && !transfers.awaitReady()) {
            transfers.stop("disabling the source");
            return;
        }
        if (state == 7) {
            Steps.Outcome<Boolean> held = transfers.step("a native transfer left unended",
                    () -> session.call(TransferSteps::transferWithoutEnding));
            if (held.failed() || !held.value()) {
                check.add(new Finding(Verdict.FAIL, "the native transfer failed (state "
                        + session.state() + ", " + transfers.codes() + ")", transfers.triplets()));
                transfers.stop("disabling the source");
                return;
            }
        }
        Steps.Outcome<Integer> cancelled = transfers.stop("cancelling in state " + state);
        if (cancelled.failed() || cancelled.value() != 4) {
            check.add(new Finding(Verdict.FAIL, "cancelling in state " + state + " left the source "
                    + "in state " + session.state() + " (" + transfers.codes() + ")",
                    transfers.triplets()));
            // The next check needs state 4: the library ends what is left once more.
            checks.steps().run("disabling the source again", () -> session.call(
                    TwainEx::stopTransfer));
            return;
        }
        transfers.enable();
        Steps.Outcome<BufferedImage> page = transfers.page();
        transfers.stop("disabling the source");
        boolean scans = !page.failed() && page.value() != null;
        check.add(new Finding(scans ? Verdict.PASS : Verdict.FAIL, scans
                ? "back in state 4 in " + cancelled.millis() + " ms, and a page scanned after"
                : "back in state 4, but no page came after the cancel: "
                        + (page.failed() ? Steps.message(page.failure()) : transfers.codes()),
                transfers.triplets()));
    }
}
