package scanlink.scan.check;

import QZ.korvel.twain.BufferedImageConsumer;
import QZ.korvel.twain.Capability;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TransferSteps;
import QZ.korvel.twain.TwainCodes;
import QZ.korvel.twain.TwainEx;
import java.awt.image.BufferedImage;
import java.util.ArrayList;
import java.util.List;

/** The steps of a scan as the checks take them, each a step of its own with its time limit. */
final class Transfers {
    /** The most pages one enable is let give, so that a source that never stops is caught. */
    static final int MAX_PAGES = 100;

    private final Checks checks;
    private final CheckResult check;
    private final List<String> triplets = new ArrayList<>();

    Transfers(Checks checks, CheckResult check) {
        this.checks = checks;
        this.check = check;
    }

    private ScanSession session() {
        return checks.session();
    }

    /** Every triplet of the steps so far. */
    List<String> triplets() {
        return new ArrayList<>(triplets);
    }

    /** A step whose triplets are kept with the others. */
    <T> Steps.Outcome<T> step(String what, Steps.Step<T> step) throws Steps.Hung {
        Steps.Outcome<T> outcome = checks.steps().run(what, step);
        triplets.addAll(outcome.triplets());
        return outcome;
    }

    /** A step whose failure ends the check with a FAIL. */
    <T> T require(String what, Steps.Step<T> step) throws Steps.Hung {
        Steps.Outcome<T> outcome = step(what, step);
        if (outcome.failed()) {
            check.add(new Finding(Verdict.FAIL, what + " failed: "
                    + Steps.message(outcome.failure()), triplets()));
            throw new Steps.StopCheck();
        }
        return outcome.value();
    }

    /** Sets CAP_XFERCOUNT; a refusal ends the check. */
    void transferCount(int count) throws Exception {
        require("setting CAP_XFERCOUNT to " + count,
                () -> session().set(Capability.CAP_XFERCOUNT, count));
    }

    /** MSG_ENABLEDS without the source's dialog; a refusal ends the check. */
    void enable() throws Exception {
        require("enabling the source", () -> {
            session().setShowUserInterface(false);
            session().perform("enabling the source", TwainEx::prepareTransfer);
            return null;
        });
    }

    /** Waits for the announcement of a page and leaves it announced; false, recorded, if none came. */
    boolean awaitReady() throws Exception {
        Steps.Outcome<Boolean> ready = step("waiting for MSG_XFERREADY",
                () -> session().call(TransferSteps::awaitTransferReady));
        if (ready.failed() || !ready.value()) {
            check.add(new Finding(Verdict.FAIL, (ready.failed() ? Steps.message(ready.failure())
                    + "; " : "") + "the source announced no transfer (state "
                    + session().state() + ", " + codes() + ")", triplets()));
            return false;
        }
        return true;
    }

    /** The next page, or null when none came (the source ended the scan, or failed). */
    Steps.Outcome<BufferedImage> page() throws Exception {
        return step("taking a page by native transfer", () -> {
            BufferedImageConsumer consumer = new BufferedImageConsumer();
            boolean delivered = OnSession.run(session(), () -> TwainEx.acquireImage(consumer));
            return delivered ? consumer.image() : null;
        });
    }

    /**
     * The pages of one enable, each taken by native transfer and dropped, then ended alone
     * (MSG_ENDXFER): the Count the source reported after each. A failure is recorded and ends it.
     */
    List<Integer> pendingCounts() throws Exception {
        List<Integer> counts = new ArrayList<>();
        if (!awaitReady()) {
            return counts;
        }
        while (counts.size() < MAX_PAGES) {
            int number = counts.size() + 1;
            Steps.Outcome<Boolean> taken = step("native transfer of page " + number,
                    () -> session().call(TransferSteps::transferWithoutEnding));
            if (taken.failed() || !taken.value()) {
                check.add(new Finding(Verdict.FAIL, "the transfer of page " + number
                        + " failed (" + codes() + ")", triplets()));
                break;
            }
            Steps.Outcome<Integer> count = step("MSG_ENDXFER after page " + number,
                    () -> session().call(TransferSteps::endTransfer));
            if (count.failed() || count.value() < 0) {
                check.add(new Finding(Verdict.FAIL, "MSG_ENDXFER after page " + number
                        + " failed (" + codes() + ")", triplets()));
                break;
            }
            counts.add(count.value());
            if (count.value() == 0) {
                break;
            }
        }
        return counts;
    }

    /** Ends the transfers and disables the source: the state after, 4 when the source took it. */
    Steps.Outcome<Integer> stop(String what) throws Exception {
        return step(what, () -> {
            session().call(TwainEx::stopTransfer);
            return session().state();
        });
    }

    /** The result and condition codes of the last request, by name. */
    String codes() {
        return session().call(() -> TwainCodes.resultName(TwainEx.getResultCode()) + ", "
                + TwainCodes.conditionName(TwainEx.getConditionCode()));
    }
}
