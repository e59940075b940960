package scanlink.bench;

import QZ.korvel.twain.Frame;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.SessionOption;
import QZ.korvel.twain.Units;
import java.util.Arrays;
import java.util.Locale;

/**
 * A letter page in colour at 600 dpi through the bridge against the same page in this process,
 * and a session's start with its bridge against one without, in turns within one run: prints the
 * medians and their ratios. The first argument is the number of rounds (default 5).
 */
public final class BridgeBenchmark {
    private BridgeBenchmark() {}

    public static void main(String[] arguments) throws Exception {
        int rounds = arguments.length > 0 ? Integer.parseInt(arguments[0]) : 5;
        long[][] open = new long[2][rounds];
        long[][] page = new long[2][rounds];
        for (int round = -1; round < rounds; ++round) { // round -1 warms both up
            for (int isolated = 0; isolated < 2; ++isolated) {
                long started = System.nanoTime();
                try (ScanSession session = isolated == 1
                        ? ScanSession.open("Acme", "Bench", "Bridge", SessionOption.ISOLATED)
                        : ScanSession.open("Acme", "Bench", "Bridge")) {
                    session.openSource();
                    long opened = System.nanoTime();
                    session.setShowUserInterface(false);
                    session.setPixelType(PixelType.RGB);
                    session.setResolution(600);
                    session.setFrame(new Frame(0, 0, 8.5, 11, Units.INCHES));
                    long asked = System.nanoTime();
                    ScanResult result = session.scan(1);
                    long scanned = System.nanoTime();
                    if (result.pageCount() != 1) {
                        throw new IllegalStateException("no page: " + result.failure());
                    }
                    if (round >= 0) {
                        open[isolated][round] = opened - started;
                        page[isolated][round] = scanned - asked;
                    }
                }
            }
        }
        report("session start and source open", open);
        report("letter page, RGB, 600 dpi", page);
    }

    private static void report(String what, long[][] times) {
        double inProcess = median(times[0]);
        double bridged = median(times[1]);
        System.out.println(String.format(Locale.ROOT,
                "%s: %.1f ms through the bridge, %.1f ms in this process: %.2fx (%+.1f ms)",
                what, bridged, inProcess, bridged / inProcess, bridged - inProcess));
    }

    private static double median(long[] nanos) {
        long[] sorted = nanos.clone();
        Arrays.sort(sorted);
        int n = sorted.length;
        double middle = n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
        return middle / 1e6;
    }
}
