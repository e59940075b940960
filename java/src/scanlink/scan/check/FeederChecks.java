package scanlink.scan.check;

import QZ.korvel.twain.Capability;
import QZ.korvel.twain.ScanSession;
import java.util.List;

/**
 * The document feeder: both sides of a sheet when the source offers duplex, one page per enable
 * with CAP_XFERCOUNT 1, and every sheet in one enable with CAP_XFERCOUNT -1.
 */
final class FeederChecks {
    private FeederChecks() {}

    static void run(Checks checks, List<Capability> listed) {
        if (!SettingsChecks.has(listed, Capability.CAP_FEEDERENABLED)) {
            return;
        }
        ScanSession session = checks.session();
        boolean feeding = Feeder.feeds(session);
        if (SettingsChecks.has(listed, Capability.CAP_DUPLEXENABLED)) {
            checks.check("feeder duplex", check -> {
                feederOn(checks, check);
                checks.steps().require("setting CAP_DUPLEXENABLED", () -> {
                    if (!session.setDuplexEnabled(true)) {
                        throw new Exception("the source keeps CAP_DUPLEXENABLED FALSE");
                    }
                    return null;
                }, check);
                try {
                    scan(checks, check, 2, 2, "both sides of one sheet");
                } finally {
                    checks.steps().run("setting CAP_DUPLEXENABLED back to FALSE",
                            () -> session.setDuplexEnabled(false));
                }
            });
        }
        checks.check("feeder CAP_XFERCOUNT 1", check -> {
            feederOn(checks, check);
            scan(checks, check, 1, 1, "one page per enable");
        });
        checks.check("feeder CAP_XFERCOUNT -1", check -> {
            try {
                feederOn(checks, check);
                scan(checks, check, -1, -1, "every sheet in one enable");
                Steps.Outcome<Boolean> loaded = checks.steps().run("reading CAP_FEEDERLOADED",
                        session::isFeederLoaded);
                if (loaded.failed() || loaded.value()) {
                    check.add(new Finding(Verdict.FAIL, "after a scan with CAP_XFERCOUNT -1 the "
                            + "feeder " + (loaded.failed() ? "does not tell whether it is loaded: "
                                    + Steps.message(loaded.failure()) : "still holds paper"),
                            loaded.triplets()));
                }
            } finally {
                checks.steps().run("setting CAP_FEEDERENABLED back", () -> {
                    if (session.isFeederEnabled() != feeding) {
                        session.setFeederEnabled(feeding);
                    }
                    return null;
                });
            }
        });
    }

    private static void feederOn(Checks checks, CheckResult check) throws Exception {
        ScanSession session = checks.session();
        checks.steps().require("setting CAP_FEEDERENABLED to TRUE", () -> {
            if (!session.isFeederEnabled() && !session.setFeederEnabled(true)) {
                throw new Exception("the source keeps CAP_FEEDERENABLED FALSE");
            }
            return null;
        }, check);
        Feeder.loadedWhereNeeded(checks, check);
    }

    /**
     * One enable with the transfer count: exactly `expected` pages, the Count after each going
     * down to 0, or for -1 pages until the source reports 0.
     */
    private static void scan(Checks checks, CheckResult check, int count, int expected,
            String what) throws Exception {
        Transfers transfers = new Transfers(checks, check);
        transfers.transferCount(count);
        transfers.enable();
        List<Integer> counts;
        try {
            counts = transfers.pendingCounts();
        } finally {
            transfers.stop("disabling the source");
        }
        if (counts.isEmpty() || counts.get(counts.size() - 1) != 0) {
            check.add(new Finding(Verdict.FAIL, what + ": the source never reported Count 0 "
                    + "(counts " + counts + ")", transfers.triplets()));
            return;
        }
        boolean right = expected > 0 ? counts.size() == expected : !counts.isEmpty();
        for (int i = 0; right && expected > 0 && i < counts.size(); i++) {
            right = counts.get(i) == expected - i - 1;
        }
        check.add(new Finding(right ? Verdict.PASS : Verdict.FAIL, what + ": "
                + counts.size() + (counts.size() == 1 ? " page" : " pages")
                + ", MSG_ENDXFER reporting Count " + counts
                + (right ? "" : "; expected " + expected + " pages counting down to 0"),
                transfers.triplets()));
    }
}
