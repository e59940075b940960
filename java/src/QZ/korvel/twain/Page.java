package QZ.korvel.twain;

import java.awt.image.BufferedImage;

/** One scanned page: its image, its place in the scan and the resolution it was scanned at. */
public final class Page {
    private final int number;
    private final BufferedImage image;
    private final double xResolution;
    private final double yResolution;

    /**
     * A page.
     *
     * @param number its place in the scan, from 1
     * @param image its pixels
     * @param xResolution horizontal dots per inch, or 0 when not known
     * @param yResolution vertical dots per inch, or 0 when not known
     */
    public Page(int number, BufferedImage image, double xResolution, double yResolution) {
        this.number = number;
        this.image = image;
        this.xResolution = xResolution;
        this.yResolution = yResolution;
    }

    /**
     * The page's place in its scan.
     *
     * @return 1 for the first page
     */
    public int number() {
        return number;
    }

    /**
     * The page's pixels, at their own depth (see {@link BufferedImageConsumer}).
     *
     * @return the image
     */
    public BufferedImage image() {
        return image;
    }

    /**
     * The horizontal resolution that the source reported for the page.
     *
     * @return dots per inch, or 0 when the source did not tell it in units of length
     */
    public double xResolution() {
        return xResolution;
    }

    /**
     * The vertical resolution that the source reported for the page.
     *
     * @return dots per inch, or 0 when the source did not tell it in units of length
     */
    public double yResolution() {
        return yResolution;
    }
}
