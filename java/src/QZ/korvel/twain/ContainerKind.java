package QZ.korvel.twain;

/** The kinds of container in which a capability's values travel. */
public enum ContainerKind {
    /** TWON_ARRAY: a list of values, all of which count. */
    ARRAY(3),
    /** TWON_ENUMERATION: the values allowed, with the current and the default one among them. */
    ENUMERATION(4),
    /** TWON_ONEVALUE: a single value. */
    ONE_VALUE(5),
    /** TWON_RANGE: the values from a minimum to a maximum in steps, with current and default. */
    RANGE(6);

    private final int code;

    ContainerKind(int code) {
        this.code = code;
    }

    /**
     * The standard's code.
     *
     * @return the TWON_ value
     */
    public int code() {
        return code;
    }

    static ContainerKind fromCode(int code) {
        for (ContainerKind kind : values()) {
            if (kind.code == code) {
                return kind;
            }
        }
        return null;
    }
}
