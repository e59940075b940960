package QZ.korvel.twain;

import java.util.EnumSet;
import java.util.Set;

/** What a source says it does with a capability, when asked with MSG_QUERYSUPPORT. */
public enum CapabilityOperation {
    /** TWQC_GET: tells the values allowed. */
    GET(0x01),
    /** TWQC_SET: takes a value. */
    SET(0x02),
    /** TWQC_GETDEFAULT: tells the default. */
    GET_DEFAULT(0x04),
    /** TWQC_GETCURRENT: tells the current value. */
    GET_CURRENT(0x08),
    /** TWQC_RESET: goes back to the default. */
    RESET(0x10);

    private final int bit;

    CapabilityOperation(int bit) {
        this.bit = bit;
    }

    /**
     * The operation's TWQC_ bit.
     *
     * @return the bit
     */
    public int bit() {
        return bit;
    }

    static Set<CapabilityOperation> fromBits(long bits) {
        Set<CapabilityOperation> operations = EnumSet.noneOf(CapabilityOperation.class);
        for (CapabilityOperation operation : values()) {
            if ((bits & operation.bit) != 0) {
                operations.add(operation);
            }
        }
        return operations;
    }
}
