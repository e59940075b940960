package scanlink.scan.check;

import QZ.korvel.twain.Capability;
import QZ.korvel.twain.ImageInfo;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TransferSteps;
import QZ.korvel.twain.TwainEx;
import java.awt.image.BufferedImage;
import java.util.ArrayList;
import java.util.EnumSet;
import java.util.List;
import java.util.Locale;
import java.util.Set;

/**
 * A page by each transfer mechanism that the source offers and this binding takes, in each pixel
 * type: DAT_IMAGEINFO asked once the page is announced, and checked against the page that came.
 */
final class TransferChecks {
    /** ICAP_XFERMECH's codes, by name. */
    private static final String[] MECHANISMS = {"native", "file", "memory", "memory file"};
    private static final int NATIVE = 0;
    /** The pixel types a native transfer's DIB carries. */
    private static final Set<PixelType> IN_A_DIB =
            EnumSet.of(PixelType.BW, PixelType.GRAY, PixelType.RGB, PixelType.PALETTE);

    private TransferChecks() {}

    static void run(Checks checks) {
        List<Integer> offered = new ArrayList<>();
        checks.check("transfer mechanisms", check -> {
            List<Object> values = checks.steps().require("reading ICAP_XFERMECH",
                    () -> checks.session().supported(Capability.ICAP_XFERMECH).values(), check);
            List<String> names = new ArrayList<>();
            for (Object value : values) {
                int code = ((Number) value).intValue();
                offered.add(code);
                names.add(code >= 0 && code < MECHANISMS.length ? MECHANISMS[code]
                                                                : "unknown (" + code + ")");
            }
            List<String> skipped = new ArrayList<>(names);
            skipped.remove(MECHANISMS[NATIVE]);
            check.add(new Finding(offered.contains(NATIVE) ? Verdict.PASS : Verdict.FAIL,
                    "ICAP_XFERMECH offers " + String.join(", ", names)
                            + (offered.contains(NATIVE) ? "" : "; every source must offer native")
                            + (skipped.isEmpty() ? "" : "; this binding takes native transfers "
                                    + "only, so " + String.join(", ", skipped) + " went unchecked"),
                    checks.steps().triplets()));
        });
        if (!offered.contains(NATIVE)) {
            return;
        }
        List<PixelType> types = new ArrayList<>();
        checks.check("pixel types to transfer", check -> {
            types.addAll(PixelTypes.allowed(checks, check));
            types.retainAll(IN_A_DIB);
            check.add(new Finding(types.isEmpty() ? Verdict.FAIL : Verdict.PASS,
                    "ICAP_PIXELTYPE allows " + types + " of the types a DIB carries",
                    checks.steps().triplets()));
        });
        for (PixelType type : types) {
            checks.check("transfer native " + type.name().toLowerCase(Locale.ROOT),
                    check -> page(checks, check, type));
        }
    }

    private static void page(Checks checks, CheckResult check, PixelType type) throws Exception {
        ScanSession session = checks.session();
        Transfers transfers = new Transfers(checks, check);
        PixelType before = checks.steps().require("reading ICAP_PIXELTYPE", session::pixelType,
                check);
        checks.steps().require("setting ICAP_PIXELTYPE to " + type,
                () -> session.setPixelType(type), check);
        try {
            Feeder.loadedWhereNeeded(checks, check);
            transfers.transferCount(1);
            transfers.enable();
            if (!transfers.awaitReady()) {
                return;
            }
            Steps.Outcome<ImageInfo> info = transfers.step("DAT_IMAGEINFO in state 6",
                    () -> session.call(TransferSteps::imageInfo));
            double[] resolution = transfers.require("reading the resolution", () ->
                    session.call(() -> new double[] {TwainEx.getXResolution(),
                            TwainEx.getYResolution()}));
            Steps.Outcome<BufferedImage> page = transfers.page();
            if (page.failed() || page.value() == null) {
                check.add(new Finding(Verdict.FAIL, "the announced page did not come: "
                        + (page.failed() ? Steps.message(page.failure()) : transfers.codes()),
                        transfers.triplets()));
                return;
            }
            if (info.failed() || info.value() == null) {
                check.add(new Finding(Verdict.FAIL, "DAT_IMAGEINFO was refused in state 6: "
                        + (info.failed() ? Steps.message(info.failure()) : transfers.codes()),
                        transfers.triplets()));
            } else {
                ImageInfoMatch.compare(check, info.value(), type, resolution, page.value(),
                        transfers.triplets());
            }
        } finally {
            transfers.stop("disabling the source");
            checks.steps().run("putting ICAP_PIXELTYPE back", () -> session.setPixelType(before));
        }
    }
}
