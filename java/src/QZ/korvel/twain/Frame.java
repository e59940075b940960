package QZ.korvel.twain;

import java.math.BigDecimal;
import java.math.RoundingMode;
import java.util.Locale;

/**
 * The area of the glass to scan: its left, top, right and bottom edges, measured from the top left
 * corner, in the given units. An A4 page is {@code new Frame(0, 0, 8.27, 11.69, Units.INCHES)} or
 * {@code new Frame(0, 0, 210, 297, Units.MILLIMETERS)}.
 *
 * <p>The edges travel to the source as TW_FIX32 numbers, which hold 1/65536 of a unit: each edge
 * reaches the source as the nearest such number, and two frames are equal when their units and
 * their edges to that 1/65536 are.
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
     * @throws IllegalArgumentException if an edge is not a number from -32768 to below 32768 (what
     *     a TW_FIX32 holds), or the units are pixels or null
     */
    public Frame(double left, double top, double right, double bottom, Units units) {
        if (units == null || units == Units.PIXELS) {
            throw new IllegalArgumentException("a frame needs units of length, not " + units);
        }
        this.left = edge("left", left);
        this.top = edge("top", top);
        this.right = edge("right", right);
        this.bottom = edge("bottom", bottom);
        this.units = units;
    }

    private static double edge(String edge, double value) {
        if (!Items.fitsFix32(value)) {
            throw new IllegalArgumentException("the " + edge
                    + " edge of a frame must be a number from -32768 to below 32768, not " + value);
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

    /** Equal units, and equal edges as a TW_FIX32 carries them. */
    @Override
    public boolean equals(Object other) {
        if (!(other instanceof Frame)) {
            return false;
        }
        Frame frame = (Frame) other;
        return units == frame.units && Items.toFix32(left) == Items.toFix32(frame.left)
                && Items.toFix32(top) == Items.toFix32(frame.top)
                && Items.toFix32(right) == Items.toFix32(frame.right)
                && Items.toFix32(bottom) == Items.toFix32(frame.bottom);
    }

    @Override
    public int hashCode() {
        long hash = units.hashCode();
        for (double edge : new double[] {left, top, right, bottom}) {
            hash = hash * 31 + Items.toFix32(edge);
        }
        return Long.hashCode(hash);
    }

    /**
     * The edges and the units, such as "0, 0, 8.27, 11.69 inches": each edge in the fewest decimals
     * that reach the same TW_FIX32, so that a frame read back from a source reads as it was set.
     */
    @Override
    public String toString() {
        return shortest(left) + ", " + shortest(top) + ", " + shortest(right) + ", "
                + shortest(bottom) + " " + units.name().toLowerCase(Locale.ROOT);
    }

    /**
     * The edge in the fewest decimals that reach its TW_FIX32. Five always do: a multiple of
     * 1/100000 lies within half a 1/65536 of any number.
     */
    private static String shortest(double edge) {
        long fix32 = Items.toFix32(edge);
        BigDecimal rounded = BigDecimal.valueOf(edge);
        for (int decimals = 0; decimals <= 5; decimals++) {
            rounded = BigDecimal.valueOf(edge).setScale(decimals, RoundingMode.HALF_UP);
            double value = rounded.doubleValue();
            if (Items.fitsFix32(value) && Items.toFix32(value) == fix32) {
                break;
            }
        }
        return rounded.stripTrailingZeros().toPlainString();
    }
}
