package QZ.korvel.twain;

import java.awt.image.BufferedImage;

/**
 * One scanned page: its image, its place in the scan, the resolution it was scanned at, and the
 * side of the sheet it shows when that is known.
 */
public final class Page {
    /**
     * The side of the sheet that a page shows. A source that scans both sides (duplex, {@code
     * CAP_DUPLEXENABLED} on when the scan starts) delivers the front of each sheet and then its
     * back, the order that the TWAIN standard gives duplex transfers, so the pages of such a scan
     * alternate, a front first. Of a scan of one side the side is not known: a sheet may lie
     * either way up.
     */
    public enum Side {
        /** The front of the sheet: the first page of each sheet of a duplex scan. */
        FRONT,
        /** The back of the sheet: the second page of each sheet of a duplex scan. */
        BACK,
        /** Not known: the source scanned one side of each sheet. */
        UNKNOWN
    }

    private final int number;
    private final BufferedImage image;
    private final double xResolution;
    private final double yResolution;
    private final Side side;

    /**
     * A page.
     *
     * @param number its place in the scan, from 1
     * @param image its pixels
     * @param xResolution horizontal dots per inch, or 0 when not known
     * @param yResolution vertical dots per inch, or 0 when not known
     */
    public Page(int number, BufferedImage image, double xResolution, double yResolution) {
        this(number, image, xResolution, yResolution, Side.UNKNOWN);
    }

    /**
     * A page of a known side.
     *
     * @param number its place in the scan, from 1
     * @param image its pixels
     * @param xResolution horizontal dots per inch, or 0 when not known
     * @param yResolution vertical dots per inch, or 0 when not known
     * @param side the side of the sheet it shows
     */
    public Page(int number, BufferedImage image, double xResolution, double yResolution,
            Side side) {
        if (side == null) {
            throw new NullPointerException("side");
        }
        this.number = number;
        this.image = image;
        this.xResolution = xResolution;
        this.yResolution = yResolution;
        this.side = side;
    }

    /**
     * The side of the sheet that the page shows (see {@link Side}).
     *
     * @return front or back in a duplex scan, else {@link Side#UNKNOWN}
     */
    public Side side() {
        return side;
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
