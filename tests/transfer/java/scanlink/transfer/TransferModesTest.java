package scanlink.transfer;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNull;
import static scanlink.testsupport.Pages.assertIsTheExpectedPage;

import QZ.korvel.twain.Page;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TransferMode;
import java.util.EnumMap;
import java.util.Map;
import org.junit.jupiter.api.extension.ExtendWith;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.params.provider.EnumSource;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Pages;
import scanlink.testsupport.Waiting;
import scanlink.virtualscanner.VirtualScanner;

/**
 * The same page whatever the mechanism: every pixel type by native, memory and file transfer,
 * strips and tiles of every size, and a page whose length the source did not know or told wrongly.
 */
@ExtendWith(CleanSession.class)
class TransferModesTest {
    static ScanSession openAt(double dpi, PixelType type) throws Exception {
        ScanSession session = ScanSession.open("scanlink32", "Tests", "Transfers");
        session.openSource();
        session.setShowUserInterface(false);
        session.setResolution(dpi);
        session.setPixelType(type);
        return session;
    }

    static Page scanOne(ScanSession session, TransferMode mode) throws Exception {
        session.setTransferMode(mode);
        ScanResult result = Waiting.scan("a page by " + mode, () -> session.scan(1));
        assertNull(result.failure(), () -> mode + ": " + result.failure());
        return result.pages().get(0);
    }

    @ParameterizedTest
    @EnumSource(value = PixelType.class, names = {"BW", "GRAY", "RGB"})
    void everyMechanismGivesTheSamePagePixelForPixel(PixelType type) throws Exception {
        try (ScanSession session = openAt(75, type)) {
            Map<TransferMode, Page> pages = new EnumMap<>(TransferMode.class);
            for (TransferMode mode : TransferMode.values()) {
                pages.put(mode, scanOne(session, mode));
            }
            assertEquals(TransferMode.MEMORY, pages.get(TransferMode.AUTOMATIC).transfer(),
                    "a source that offers memory transfer is read in memory");
            Page nativePage = pages.get(TransferMode.NATIVE);
            assertIsTheExpectedPage(nativePage.image());
            for (TransferMode mode : new TransferMode[] {TransferMode.MEMORY, TransferMode.FILE}) {
                Page page = pages.get(mode);
                assertEquals(mode, page.transfer());
                assertNull(page.encoded());
                assertEquals(nativePage.image().getType(), page.image().getType(), mode.name());
                assertArrayEquals(Pages.rgb(nativePage.image()), Pages.rgb(page.image()),
                        mode.name());
                assertEquals(nativePage.xResolution(), page.xResolution());
            }
        }
    }

    @ParameterizedTest(name = "{0} = {1}, {2}")
    @CsvSource({
        "memory.strip_rows, 1, RGB",
        "memory.strip_rows, 1, BW",
        "memory.preferred_buffer, 16777216, GRAY",
        "memory.tile, 16, RGB",
        "memory.tile, 20, BW",
        "memory.tile, 100, GRAY",
        "memory.tile, 512, RGB",
        "imageinfo.length, -1, RGB",
        "imageinfo.length, -1, BW",
        "imageinfo.length, 200, GRAY",
        "imageinfo.length, 3000, RGB",
    })
    void stripsTilesAndLyingLengthsGiveTheChart(String knob, long value, PixelType type)
            throws Exception {
        VirtualScanner.setKnob(knob, value);
        VirtualScanner.setKnob("memory.max_buffer", 1 << 24);
        try (ScanSession session = openAt(75, type)) {
            Page page = scanOne(session, TransferMode.MEMORY);
            assertEquals(TransferMode.MEMORY, page.transfer());
            assertIsTheExpectedPage(page.image());
        }
    }
}
