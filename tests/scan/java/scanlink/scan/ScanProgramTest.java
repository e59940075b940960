package scanlink.scan;

import static scanlink.testsupport.Pages.assertIsTheExpectedPage;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.TwainEx;
import java.awt.image.BufferedImage;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import javax.imageio.ImageIO;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import scanlink.virtualscanner.VirtualScanner;

@ExtendWith(CleanSession.class)
class ScanProgramTest {
    @TempDir Path folder;



    static ScanOptions options(String... args) throws Exception {
        return ScanOptions.parse(args);
    }


    @Test
    void writesTheChartAsAPng() throws Exception {
        Path out = folder.resolve("chart.png");
        assertEquals(1, Scan.run(options(out.toString())));
        assertIsTheExpectedPage(ImageIO.read(out.toFile()));
        assertEquals(3, TwainEx.getState()); // the source is closed, the manager left to the caller
    }

    @Test
    void severalPagesGetNumberedFiles() throws Exception {
        Path out = folder.resolve("page.png");
        assertEquals(3, Scan.run(options("--pages", "3", out.toString())));
        for (int page = 1; page <= 3; page++) {
            assertTrue(Files.exists(folder.resolve("page-" + page + ".png")), "page " + page);
        }
        assertFalse(Files.exists(out));
    }

    @Test
    void aFailureNamesTheStepAndTheTwainCodes() {
        VirtualScanner.script(1, 3, 0x0401, 1, 3, 1); // MSG_OPENDS fails with TWCC_NODS
        Scan.ScanException e = assertThrows(Scan.ScanException.class,
                () -> Scan.run(options(folder.resolve("x.png").toString())));
        assertEquals("opening the default source failed (TWAIN result code 1 (TWRC_FAILURE), "
                + "condition code 3 (TWCC_NODS), state 3)", e.getMessage());
    }

    @Test
    void aPageTheLibraryCannotReadIsAFailureToo() {
        VirtualScanner.setKnob("transfer.bad_handle", 1);
        Scan.ScanException e = assertThrows(Scan.ScanException.class,
                () -> Scan.run(options(folder.resolve("x.png").toString())));
        assertEquals("the page could not be read: Invalid image!", e.getMessage());
    }

    @Test
    void unusableCommandLinesAreRefused() {
        assertThrows(ScanOptions.UsageException.class, () -> options());
        assertThrows(ScanOptions.UsageException.class, () -> options("--pages", "0", "a.png"));
        assertThrows(ScanOptions.UsageException.class, () -> options("--pixel-type", "cmyk", "a"));
        assertThrows(ScanOptions.UsageException.class, () -> options("--frame", "1,2,3", "a.png"));
        assertThrows(ScanOptions.UsageException.class, () -> options("a.png", "b.png"));
        assertThrows(ScanOptions.UsageException.class, () -> options("--resolution"));
    }

    @Test
    void optionsAreReadAsGiven() throws Exception {
        ScanOptions o = options("--resolution", "150", "--pixel-type", "gray", "--frame",
                "0.5, 1,4,5.5", "--feeder", "--show-ui", "--pages", "2", "out.png");
        assertEquals(150.0, o.resolution);
        assertEquals((short) 1, o.pixelType);
        assertEquals(5.5, o.frame[3]);
        assertTrue(o.feeder && o.showUi);
        assertEquals(Path.of("out-2.png"), o.pageFile(2));
    }
}
