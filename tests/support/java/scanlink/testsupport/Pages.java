package scanlink.testsupport;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.awt.image.BufferedImage;
import java.util.HashSet;
import java.util.Set;
import scanlink.virtualscanner.VirtualScanner;

/** Checks of delivered pages against what the virtual scanner put on its glass. */
public final class Pages {
    private Pages() {}

    /**
     * The image's colors as 0xRRGGBB, row by row from the top. A gray image's samples are its
     * levels: its getRGB would convert them from a linear gray space.
     */
    public static int[] rgb(BufferedImage image) {
        int width = image.getWidth();
        int height = image.getHeight();
        int[] pixels = new int[width * height];
        if (image.getType() == BufferedImage.TYPE_BYTE_GRAY) {
            int[] levels = image.getRaster().getPixels(0, 0, width, height, (int[]) null);
            for (int i = 0; i < pixels.length; i++) {
                pixels[i] = levels[i] * 0x010101;
            }
            return pixels;
        }
        image.getRGB(0, 0, width, height, pixels, 0, width);
        for (int i = 0; i < pixels.length; i++) {
            pixels[i] &= 0xFFFFFF;
        }
        return pixels;
    }

    /** The image is, pixel for pixel, the page the source scans with its current settings. */
    public static void assertIsTheExpectedPage(BufferedImage image) {
        int[] expected = VirtualScanner.expectedPage();
        int width = expected[0];
        int height = expected[1];
        assertEquals(width, image.getWidth(), "width");
        assertEquals(height, image.getHeight(), "height");
        int[] actual = rgb(image);
        for (int i = 0; i < actual.length; i++) {
            if (actual[i] != expected[i + 2]) {
                throw new AssertionError(String.format("pixel (%d, %d): expected %06X, got %06X",
                        i % width, i / width, expected[i + 2], actual[i]));
            }
        }
    }

    /** The distinct RGB values of the image. */
    public static Set<Integer> colors(BufferedImage image) {
        Set<Integer> colors = new HashSet<>();
        for (int rgb : rgb(image)) {
            colors.add(rgb);
        }
        return colors;
    }
}
