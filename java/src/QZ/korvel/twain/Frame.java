package QZ.korvel.twain;

import java.util.Locale;

/**
 * The area of the glass to scan: its left, top, right and bottom edges, measured from the top left
 * corner, in whole units.
 *
 * <p>A source takes the frame in whole units only, so fractions are refused here rather than cut
 * silently: give the frame in millimeters when inches are too coarse.
 */
public final class Frame {
    private final double left;
    private final double top;
    private final double right;
    private final double bottom;
    private final Units units;

    /**
     * A frame in the given units.
     *
     * @param left the left edge
     * @param top the top edge
     * @param right the right edge
     * @param bottom the bottom edge
     * @param units the units of the four edges; not {@link Units#PIXELS}
     * @throws IllegalArgumentException if an edge is not a whole number from -32768 to 32767
     *     (what the source's records hold), or the units are pixels or null
     */
    public Frame(double left, double top, double right, double bottom, Units units) {
        if (units == null || units == Units.PIXELS) {
            throw new IllegalArgumentException("a frame needs units of length, not " + units);
        }
        this.left = wholeUnits("left", left);
        this.top = wholeUnits("top", top);
        this.right = wholeUnits("right", right);
        this.bottom = wholeUnits("bottom", bottom);
        this.units = units;
    }

    private static double wholeUnits(String edge, double value) {
        if (value != Math.rint(value) || value < Short.MIN_VALUE || value > Short.MAX_VALUE) {
            throw new IllegalArgumentException(
                    "the " + edge + " edge of a frame must be a whole number of units from "
                    + Short.MIN_VALUE + " to " + Short.MAX_VALUE + ", not " + value);
        }
        return value;
    }

    /**
     * The left edge.
     *
     * @return the edge in {@link #units()}
     */
    public double left() {
        return left;
    }

    /**
     * The top edge.
     *
     * @return the edge in {@link #units()}
     */
    public double top() {
        return top;
    }

    /**
     * The right edge.
     *
     * @return the edge in {@link #units()}
     */
    public double right() {
        return right;
    }

    /**
     * The bottom edge.
     *
     * @return the edge in {@link #units()}
     */
    public double bottom() {
        return bottom;
    }

    /**
     * The units of the edges.
     *
     * @return the units
     */
    public Units units() {
        return units;
    }

    @Override
    public String toString() {
        return left + ", " + top + ", " + right + ", " + bottom + " " + units.name().toLowerCase(Locale.ROOT);
    }
}
