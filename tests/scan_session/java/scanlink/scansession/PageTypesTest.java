package scanlink.scansession;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Pages.assertIsTheExpectedPage;

import QZ.korvel.twain.Page;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TwainEx;
import java.awt.Toolkit;
import java.awt.image.BufferedImage;
import java.awt.image.MemoryImageSource;
import java.awt.image.PixelGrabber;
import java.util.Map;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import scanlink.testsupport.Waiting;
import scanlink.testsupport.Pages;

/**
 * Every pixel type of the virtual scanner, scanned by the session: the page has its own depth, is
 * the chart pixel for pixel, and equals what a PixelGrabber receives for the same page.
 */
@ExtendWith(CleanSession.class)
class PageTypesTest {
    static final Map<PixelType, Integer> IMAGE_TYPES = Map.of(
            PixelType.BW, BufferedImage.TYPE_BYTE_BINARY,
            PixelType.GRAY, BufferedImage.TYPE_BYTE_GRAY,
            PixelType.RGB, BufferedImage.TYPE_INT_RGB);

    /** The same page as the consumer protocol delivers it, through a PixelGrabber. */
    static int[] grabbed(ScanSession session) {
        var source = new MemoryImageSource(1, 1, new int[1], 0, 1);
        PixelGrabber grabber = new PixelGrabber(
                Toolkit.getDefaultToolkit().createImage(source), 0, 0, -1, -1, true);
        assertTrue(session.call(() -> TwainEx.prepareTransfer() && TwainEx.acquireImage(grabber)
                && TwainEx.stopTransfer()));
        int[] pixels = (int[]) grabber.getPixels();
        for (int i = 0; i < pixels.length; i++) {
            pixels[i] &= 0xFFFFFF;
        }
        return pixels;
    }

    @Test
    void eachPixelTypeIsAPageOfItsOwnDepthEqualToTheChartAndTheGrabber() throws Exception {
        try (ScanSession session = ScanSession.open("scanlink32", "Tests", "Page types")) {
            session.openSource();
            session.setShowUserInterface(false);
            session.setResolution(75);
            for (PixelType type : IMAGE_TYPES.keySet()) {
                session.setPixelType(type);
                Page page = Waiting.scan("the scan of one pixel type",
                        () -> session.scan(1)).pages().get(0);
                assertEquals(IMAGE_TYPES.get(type), page.image().getType(), type.name());
                assertEquals(75.0, page.xResolution());
                assertIsTheExpectedPage(page.image());
                assertArrayEquals(grabbed(session), Pages.rgb(page.image()), type.name());
            }
        }
    }
}
