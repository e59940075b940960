package QZ.korvel.twain;

/** The units in which a source measures lengths and resolutions (the values of ICAP_UNITS). */
public enum Units {
    /** Inches. */
    INCHES(0, 1),
    /** Centimeters. */
    CENTIMETERS(1, 2.54),
    /** Picas, 6 to the inch. */
    PICAS(2, 6),
    /** Points, 72 to the inch. */
    POINTS(3, 72),
    /** Twips, 1440 to the inch. */
    TWIPS(4, 1440),
    /** Pixels of the scanned image: no physical length. */
    PIXELS(5, 0),
    /** Millimeters. */
    MILLIMETERS(6, 25.4);

    private final short code;
    private final double perInch;

    Units(int code, double perInch) {
        this.code = (short) code;
        this.perInch = perInch;
    }

    /**
     * The TWAIN value, as {@link TwainEx#setCurrentUnits} takes it.
     *
     * @return the TWUN_ value
     */
    public short code() {
        return code;
    }

    /**
     * How many of these units make an inch.
     *
     * @return the count, or 0 for {@link #PIXELS}
     */
    public double perInch() {
        return perInch;
    }

    /**
     * The units of a TWAIN value.
     *
     * @param code a TWUN_ value (its 16 bits count)
     * @return the units, or null for a value that is none of these
     */
    public static Units fromCode(int code) {
        for (Units units : values()) {
            if (units.code == (code & 0xFFFF)) {
                return units;
            }
        }
        return null;
    }
}
