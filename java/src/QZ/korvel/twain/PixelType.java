package QZ.korvel.twain;

/** The kinds of pixel that a source can scan (the values of ICAP_PIXELTYPE). */
public enum PixelType {
    /** Black and white, one bit per pixel. */
    BW(0),
    /** Shades of gray. */
    GRAY(1),
    /** Red, green and blue. */
    RGB(2),
    /** Colors from a palette. */
    PALETTE(3),
    /** Cyan, magenta and yellow. */
    CMY(4),
    /** Cyan, magenta, yellow and black. */
    CMYK(5),
    /** Luminance and chrominance. */
    YUV(6),
    /** Luminance, chrominance and black. */
    YUVK(7),
    /** CIE XYZ. */
    CIEXYZ(8);

    private final short code;

    PixelType(int code) {
        this.code = (short) code;
    }

    /**
     * The TWAIN value, as {@link TwainEx#setPixelType} takes it.
     *
     * @return the TWPT_ value
     */
    public short code() {
        return code;
    }

    /**
     * The pixel type of a TWAIN value.
     *
     * @param code a TWPT_ value (its 16 bits count)
     * @return the pixel type, or null for a value that is none of these
     */
    public static PixelType fromCode(int code) {
        for (PixelType type : values()) {
            if (type.code == (code & 0xFFFF)) {
                return type;
            }
        }
        return null;
    }
}
