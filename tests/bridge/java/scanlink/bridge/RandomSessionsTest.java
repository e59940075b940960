package scanlink.bridge;

import static org.junit.jupiter.api.Assertions.assertEquals;

import QZ.korvel.twain.Page;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Random;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;
import scanlink.testsupport.Pages;
import scanlink.testsupport.Waiting;

/**
 * Random sequences of what a program may do, each run isolated and in this process: every step
 * answers the same, fails the same, and brings the same pages, and no bridge is left behind.
 */
class RandomSessionsTest {
    private static final int STEPS = 40;
    private static final PixelType[] TYPES = {PixelType.BW, PixelType.GRAY, PixelType.RGB};

    /** A step of a program, told by what it answered or how it failed. */
    private interface Step {
        Object run(ScanSession session) throws Exception;
    }

    @ParameterizedTest(name = "seed {0}")
    @ValueSource(longs = {1, 2, 3, 4})
    void bothPlacesAnswerAlike(long seed) throws Exception {
        List<String> isolated = transcript(seed, true);
        List<String> inProcess = transcript(seed, false);
        for (int step = 0; step < STEPS; ++step) {
            assertEquals(inProcess.get(step), isolated.get(step), "seed " + seed + ", step " + step);
        }
        Bridges.assertNoneLeft();
    }

    private static List<String> transcript(long seed, boolean isolated) throws Exception {
        Random random = new Random(seed);
        List<String> said = new ArrayList<>();
        ScanSession session = open(isolated);
        try {
            for (int step = 0; step < STEPS; ++step) {
                Step chosen = choose(random);
                String answer;
                try {
                    answer = String.valueOf(chosen.run(session));
                } catch (Exception | Error e) {
                    answer = e.getClass().getSimpleName() + ": " + e.getMessage();
                }
                if (answer.equals("reopen")) {
                    session.close();
                    session = open(isolated);
                }
                said.add(answer);
            }
        } finally {
            session.close();
        }
        return said;
    }

    private static ScanSession open(boolean isolated) throws Exception {
        ScanSession session = isolated ? Bridges.isolated() : Bridges.inProcess();
        session.setShowUserInterface(false);
        return session;
    }

    private static Step choose(Random random) {
        PixelType type = TYPES[random.nextInt(TYPES.length)];
        int dpi = 50 + random.nextInt(100);
        boolean flag = random.nextBoolean();
        int pages = 1 + random.nextInt(3);
        switch (random.nextInt(12)) {
            case 0: return session -> {
                session.openSource();
                return "opened";
            };
            case 1: return session -> session.openSource("Virtual Duplex Feeder").productName();
            case 2: return session -> {
                session.closeSource();
                return "closed";
            };
            case 3: return session -> session.setPixelType(type);
            case 4: return session -> session.setResolution(dpi);
            case 5: return session -> session.setFeederEnabled(flag);
            case 6: return session -> session.setDuplexEnabled(flag);
            case 7: return session -> pagesOf(Waiting.scan("a scan", () -> session.scan(pages)),
                    pages);
            case 8: return session -> pagesOf(Waiting.scan("a feeder run cancelled",
                    () -> session.scanFeeder(1000, page -> {
                        if (page.number() == pages) {
                            session.cancel();
                        }
                    })), pages);
            case 9: return session -> session.state() + " " + session.pixelType();
            case 10: return session -> session.sources().size();
            default: return session -> "reopen";
        }
    }

    /** The outcome and the first pages, pixel for pixel: a cancel may let a page more come. */
    private static String pagesOf(ScanResult result, int kept) {
        StringBuilder seen = new StringBuilder(result.outcome() + " " + result.failure());
        List<Page> pages = result.pages();
        for (Page page : pages.subList(0, Math.min(kept, pages.size()))) {
            seen.append(' ').append(page.side()).append(Arrays.hashCode(Pages.rgb(page.image())));
        }
        return seen.toString();
    }
}
