package QZ.korvel.twain;

import java.util.Locale;

/**
 * A value of item type FRAME: an area's left, top, right and bottom edges in the source's current
 * units, each a FIX32 (steps of 1/65536). Unlike {@link Frame}, which sets the area to scan, it
 * takes fractions, since a source may report them.
 */
public final class FrameItem {
    private final double left;
    private final double top;
    private final double right;
    private final double bottom;

    /**
     * An area.
     *
     * @param left the left edge
     * @param top the top edge
     * @param right the right edge
     * @param bottom the bottom edge
     */
    public FrameItem(double left, double top, double right, double bottom) {
        this.left = left;
        this.top = top;
        this.right = right;
        this.bottom = bottom;
    }

    /**
     * The left edge.
     *
     * @return the edge
     */
    public double left() {
        return left;
    }

    /**
     * The top edge.
     *
     * @return the edge
     */
    public double top() {
        return top;
    }

    /**
     * The right edge.
     *
     * @return the edge
     */
    public double right() {
        return right;
    }

    /**
     * The bottom edge.
     *
     * @return the edge
     */
    public double bottom() {
        return bottom;
    }

    @Override
    public boolean equals(Object other) {
        if (!(other instanceof FrameItem)) {
            return false;
        }
        FrameItem frame = (FrameItem) other;
        return Double.compare(left, frame.left) == 0 && Double.compare(top, frame.top) == 0
                && Double.compare(right, frame.right) == 0
                && Double.compare(bottom, frame.bottom) == 0;
    }

    @Override
    public int hashCode() {
        return Double.hashCode(left) * 31 * 31 * 31 + Double.hashCode(top) * 31 * 31
                + Double.hashCode(right) * 31 + Double.hashCode(bottom);
    }

    /** The four edges, such as "(0, 0)-(8.5, 11)". */
    @Override
    public String toString() {
        return String.format(Locale.ROOT, "(%s, %s)-(%s, %s)", Items.number(left),
                Items.number(top), Items.number(right), Items.number(bottom));
    }
}
