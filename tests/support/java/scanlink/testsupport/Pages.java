package scanlink.testsupport;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.awt.image.BufferedImage;
import java.util.HashSet;
import java.util.Set;
import scanlink.virtualscanner.VirtualScanner;

/** Checks of delivered pages against what the virtual scanner put on its glass. */
public final class Pages {
    private Pages() {}

    /** The image is, pixel for pixel, the page the source scans with its current settings. */
    public static void assertIsTheExpectedPage(BufferedImage image) {
        int[] expected = VirtualScanner.expectedPage();
        int width = expected[0];
        int height = expected[1];
        assertEquals(width, image.getWidth(), "width");
        assertEquals(height, image.getHeight(), "height");
        int[] actual = image.getRGB(0, 0, width, height, null, 0, width);
        for (int i = 0; i < actual.length; i++) {
            if ((actual[i] & 0xFFFFFF) != expected[i + 2]) {
                throw new AssertionError(String.format("pixel (%d, %d): expected %06X, got %06X",
                        i % width, i / width, expected[i + 2], actual[i] & 0xFFFFFF));
            }
        }
    }

    /** The distinct RGB values of the image. */
    public static Set<Integer> colors(BufferedImage image) {
        Set<Integer> colors = new HashSet<>();
        for (int rgb : image.getRGB(0, 0, image.getWidth(), image.getHeight(), null, 0,
                     image.getWidth())) {
            colors.add(rgb & 0xFFFFFF);
        }
        return colors;
    }
}
