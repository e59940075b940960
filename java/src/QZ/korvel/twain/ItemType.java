package QZ.korvel.twain;

/**
 * The types of a capability's items, as the standard numbers them, with the Java type a value of
 * each is read as: {@link Integer} for the integer types but UINT32, which is a {@link Long};
 * {@link Boolean} for BOOL; {@link Double} for FIX32; {@link FrameItem} for FRAME; {@link String}
 * for the strings, whose length in the system's code page is at most the field's less one byte.
 */
public enum ItemType {
    /** TWTY_INT8: -128 to 127. */
    INT8(0x00, 1),
    /** TWTY_INT16: -32768 to 32767. */
    INT16(0x01, 2),
    /** TWTY_INT32: a 32-bit signed integer. */
    INT32(0x02, 4),
    /** TWTY_UINT8: 0 to 255. */
    UINT8(0x03, 1),
    /** TWTY_UINT16: 0 to 65535. */
    UINT16(0x04, 2),
    /** TWTY_UINT32: 0 to 4294967295. */
    UINT32(0x05, 4),
    /** TWTY_BOOL: true or false. */
    BOOL(0x06, 2),
    /** TWTY_FIX32: a number in steps of 1/65536, from -32768 to below 32768. */
    FIX32(0x07, 4),
    /** TWTY_FRAME: four FIX32 edges. */
    FRAME(0x08, 16),
    /** TWTY_STR32: a string in a field of 34 bytes. */
    STR32(0x09, 34),
    /** TWTY_STR64: a string in a field of 66 bytes. */
    STR64(0x0A, 66),
    /** TWTY_STR128: a string in a field of 130 bytes. */
    STR128(0x0B, 130),
    /** TWTY_STR255: a string in a field of 256 bytes. */
    STR255(0x0C, 256);

    private final int code;
    private final int size;

    ItemType(int code, int size) {
        this.code = code;
        this.size = size;
    }

    /**
     * The standard's code.
     *
     * @return the TWTY_ value
     */
    public int code() {
        return code;
    }

    /**
     * The bytes an item takes in a container.
     *
     * @return the size
     */
    public int size() {
        return size;
    }

    /**
     * Whether the items are strings.
     *
     * @return true for STR32 to STR255
     */
    public boolean isText() {
        return code >= STR32.code;
    }

    /**
     * The type of a code.
     *
     * @param code the TWTY_ value
     * @return the type, or null for a code that the standard does not have
     */
    public static ItemType fromCode(int code) {
        for (ItemType type : values()) {
            if (type.code == code) {
                return type;
            }
        }
        return null;
    }
}
