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
    private BufferedImage image; // decoded from encoded on first use
    private final EncodedImage encoded;
    private final double xResolution;
    private final double yResolution;
    private final Side side;
    private final TransferMode transfer;

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
        this(number, image, null, xResolution, yResolution, side, TransferMode.AUTOMATIC);
    }

    /**
     * A page that came encoded, as a compressing source gave it; its image is decoded when it is
     * first asked for.
     *
     * @param number its place in the scan, from 1
     * @param encoded its bytes and their format
     * @param xResolution horizontal dots per inch, or 0 when not known
     * @param yResolution vertical dots per inch, or 0 when not known
     * @param side the side of the sheet it shows
     */
    public Page(int number, EncodedImage encoded, double xResolution, double yResolution,
            Side side) {
        this(number, null, encoded, xResolution, yResolution, side, TransferMode.AUTOMATIC);
        if (encoded == null) {
            throw new NullPointerException("encoded");
        }
    }

    Page(int number, BufferedImage image, EncodedImage encoded, double xResolution,
            double yResolution, Side side, TransferMode transfer) {
        if (side == null) {
            throw new NullPointerException("side");
        }
        this.number = number;
        this.image = image;
        this.encoded = encoded;
        this.xResolution = xResolution;
        this.yResolution = yResolution;
        this.side = side;
        this.transfer = transfer;
    }

    /**
     * The page as the source encoded it (JPEG or Group 4 by memory transfer, a JPEG or TIFF file by
     * file transfer), kept as it came; null for a page that came as pixels.
     *
     * @return the encoded page, or null
     */
    public EncodedImage encoded() {
        return encoded;
    }

    /**
     * How the page came from the source: {@link TransferMode#NATIVE}, {@link TransferMode#MEMORY}
     * or {@link TransferMode#FILE}; {@link TransferMode#AUTOMATIC} for a page an application made
     * itself.
     *
     * @return the transfer mechanism
     */
    public TransferMode transfer() {
        return transfer;
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
     * The page's pixels, at their own depth (see {@link BufferedImageConsumer}). A page that came
     * encoded is decoded on the first call, with {@code javax.imageio}: a JPEG page on any Java, a
     * Group 4 or TIFF page on Java 9 and later, whose {@code javax.imageio} reads TIFF.
     *
     * @return the image
     * @throws java.io.UncheckedIOException if the encoded page cannot be decoded
     * @throws UnsupportedOperationException if this Java has no reader for its format
     */
    public synchronized BufferedImage image() {
        if (image == null && encoded != null) {
            image = EncodedImages.decode(encoded);
        }
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
