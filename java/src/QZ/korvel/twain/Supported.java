package QZ.korvel.twain;

import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.Set;

/**
 * What a source supports of a capability: the values it allows (an enumeration or a range, or the
 * one value it has), its current and default values, and, when the source tells, the operations
 * it takes. What a settings form needs, asked once.
 */
public final class Supported {
    private final Capability capability;
    private final CapabilityValue allowed;
    private final Object current;
    private final Object defaultValue;
    private final Set<CapabilityOperation> operations;

    Supported(Capability capability, CapabilityValue allowed, Object current, Object defaultValue,
            Set<CapabilityOperation> operations) {
        this.capability = capability;
        this.allowed = allowed;
        this.current = current;
        this.defaultValue = defaultValue;
        this.operations = operations != null ? Collections.unmodifiableSet(operations) : null;
    }

    /**
     * The capability.
     *
     * @return the capability
     */
    public Capability capability() {
        return capability;
    }

    /**
     * The source's answer to MSG_GET, as it gave it.
     *
     * @return the container
     */
    public CapabilityValue allowed() {
        return allowed;
    }

    /**
     * Whether the allowed values are a range.
     *
     * @return true for a range: see {@link #min}, {@link #max} and {@link #step}
     */
    public boolean isRange() {
        return allowed.kind() == ContainerKind.RANGE;
    }

    /**
     * The values allowed, when the source lists them.
     *
     * @return the values of an enumeration or array, or the one value; empty for a range
     */
    public List<Object> values() {
        return allowed.values();
    }

    /**
     * The smallest value of a range.
     *
     * @return the value, or null when the values are listed
     */
    public Object min() {
        return allowed.min();
    }

    /**
     * The largest value of a range.
     *
     * @return the value, or null when the values are listed
     */
    public Object max() {
        return allowed.max();
    }

    /**
     * The step of a range.
     *
     * @return the value, or null when the values are listed
     */
    public Object step() {
        return allowed.step();
    }

    /**
     * The current value (MSG_GETCURRENT, or the current item of the allowed values when the source
     * does not answer that).
     *
     * @return the value, or null when the source tells none
     */
    public Object current() {
        return current;
    }

    /**
     * The default value (MSG_GETDEFAULT, or the default of the allowed values when the source does
     * not answer that).
     *
     * @return the value, or null when the source tells none
     */
    public Object defaultValue() {
        return defaultValue;
    }

    /**
     * The operations the source says it takes (MSG_QUERYSUPPORT).
     *
     * @return the operations, or null when the source does not tell
     */
    public Set<CapabilityOperation> operations() {
        return operations;
    }

    /**
     * One line, such as "ICAP_XRESOLUTION (0x1118): 75 to 600 step 25; current 100; default 100;
     * takes GET, SET, GET_DEFAULT, GET_CURRENT, RESET"; what the source does not tell is left out.
     */
    @Override
    public String toString() {
        String values = isRange()
                ? Items.describe(min()) + " to " + Items.describe(max()) + " step "
                        + Items.describe(step())
                : (allowed.kind() == ContainerKind.ONE_VALUE ? "only " : "")
                        + Items.joined(values());
        return capability + ": " + values
                + (current != null ? "; current " + Items.describe(current) : "")
                + (defaultValue != null ? "; default " + Items.describe(defaultValue) : "")
                + (operations != null ? "; takes " + Items.joined(
                           new ArrayList<Object>(operations)) : "");
    }
}
