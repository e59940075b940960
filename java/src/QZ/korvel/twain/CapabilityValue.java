package QZ.korvel.twain;

import java.util.ArrayList;
import java.util.Collections;
import java.util.List;

/**
 * A capability's container: the kind the source answered with (or the caller sends), the item
 * type, and the values. Values are Java objects of the item type's Java type (see {@link
 * ItemType}).
 *
 * <ul>
 *   <li>{@link ContainerKind#ONE_VALUE}: {@link #current()} is the value.
 *   <li>{@link ContainerKind#ENUMERATION}: {@link #values()} are allowed, with the current and
 *       the default among them.
 *   <li>{@link ContainerKind#RANGE}: {@link #min()} to {@link #max()} in {@link #step()}s, with
 *       current and default.
 *   <li>{@link ContainerKind#ARRAY}: {@link #values()}, all of which count.
 * </ul>
 */
public final class CapabilityValue {
    private static final int RANGE_MIN = 0;
    private static final int RANGE_MAX = 1;
    private static final int RANGE_STEP = 2;
    private static final int RANGE_DEFAULT = 3;
    private static final int RANGE_CURRENT = 4;

    private final ContainerKind kind;
    private final ItemType itemType;
    private final List<Object> items;
    private final int currentIndex;
    private final int defaultIndex;

    private CapabilityValue(ContainerKind kind, ItemType itemType, List<Object> items,
            int currentIndex, int defaultIndex) {
        this.kind = kind;
        this.itemType = itemType;
        this.items = Collections.unmodifiableList(items);
        this.currentIndex = currentIndex;
        this.defaultIndex = defaultIndex;
    }

    /**
     * One value, to set.
     *
     * @param type the item type to send it as
     * @param value the value, of the type's Java type
     * @return the container
     * @throws IllegalArgumentException if the value is not of the type
     */
    public static CapabilityValue oneValue(ItemType type, Object value) {
        return checked(ContainerKind.ONE_VALUE, type, Collections.singletonList(value), 0, 0);
    }

    /**
     * The values to allow, with the one to take now, to set: a source that takes it allows only
     * these from then on, until the capability is reset.
     *
     * @param type the item type to send them as
     * @param values the values, of the type's Java type
     * @param currentIndex the index of the value to take now
     * @param defaultIndex the index of the default value
     * @return the container
     * @throws IllegalArgumentException if a value is not of the type, or an index is not one of
     *     the values'
     */
    public static CapabilityValue enumeration(ItemType type, List<?> values, int currentIndex,
            int defaultIndex) {
        if (currentIndex < 0 || currentIndex >= values.size() || defaultIndex < 0
                || defaultIndex >= values.size()) {
            throw new IllegalArgumentException("the indices " + currentIndex + " and "
                    + defaultIndex + " must be those of the " + values.size() + " values");
        }
        return checked(ContainerKind.ENUMERATION, type, values, currentIndex, defaultIndex);
    }

    /**
     * A list of values, to set.
     *
     * @param type the item type to send them as
     * @param values the values, of the type's Java type
     * @return the container
     * @throws IllegalArgumentException if a value is not of the type
     */
    public static CapabilityValue array(ItemType type, List<?> values) {
        return checked(ContainerKind.ARRAY, type, values, 0, 0);
    }

    private static CapabilityValue checked(ContainerKind kind, ItemType type, List<?> values,
            int currentIndex, int defaultIndex) {
        if (type == null) {
            throw new NullPointerException("type");
        }
        CapabilityValue value = new CapabilityValue(kind, type, new ArrayList<Object>(values),
                currentIndex, defaultIndex);
        value.toRecord(); // refuses a value that is not of the type
        return value;
    }

    /** A container as the library read it from the source. */
    static CapabilityValue read(NativeRecord.Reader record) {
        ContainerKind kind = ContainerKind.fromCode(record.u16());
        ItemType type = ItemType.fromCode(record.u16());
        long count = record.u32();
        int currentIndex = (int) record.u32();
        int defaultIndex = (int) record.u32();
        if (kind == null || type == null) {
            throw new IllegalStateException("the library passed on an unknown container");
        }
        List<Object> items = new ArrayList<>();
        for (long i = 0; i < count; ++i) {
            items.add(Items.read(record, type));
        }
        return new CapabilityValue(kind, type, items, currentIndex, defaultIndex);
    }

    byte[] toRecord() {
        NativeRecord.Writer record = new NativeRecord.Writer();
        record.u16(kind.code()).u16(itemType.code()).u32(items.size()).u32(currentIndex)
                .u32(defaultIndex);
        for (Object item : items) {
            Items.write(record, itemType, item);
        }
        return record.toBytes();
    }

    /**
     * The kind of container.
     *
     * @return the kind
     */
    public ContainerKind kind() {
        return kind;
    }

    /**
     * The type of the items.
     *
     * @return the item type
     */
    public ItemType itemType() {
        return itemType;
    }

    /**
     * The values of an enumeration or array, or the one value.
     *
     * @return the values; empty for a range
     */
    public List<Object> values() {
        return kind == ContainerKind.RANGE ? Collections.emptyList() : items;
    }

    /**
     * The current value: the one value, the enumeration's current item, or the range's current
     * value.
     *
     * @return the value, or null for an array
     */
    public Object current() {
        switch (kind) {
            case ONE_VALUE:
                return items.get(0);
            case ENUMERATION:
                return items.get(currentIndex);
            case RANGE:
                return items.get(RANGE_CURRENT);
            default:
                return null;
        }
    }

    /**
     * The default value of an enumeration or range.
     *
     * @return the value, or null for a one value or an array
     */
    public Object defaultValue() {
        switch (kind) {
            case ENUMERATION:
                return items.get(defaultIndex);
            case RANGE:
                return items.get(RANGE_DEFAULT);
            default:
                return null;
        }
    }

    /**
     * The smallest value of a range.
     *
     * @return the value, or null when this is no range
     */
    public Object min() {
        return rangeItem(RANGE_MIN);
    }

    /**
     * The largest value of a range.
     *
     * @return the value, or null when this is no range
     */
    public Object max() {
        return rangeItem(RANGE_MAX);
    }

    /**
     * The step of a range.
     *
     * @return the value, or null when this is no range
     */
    public Object step() {
        return rangeItem(RANGE_STEP);
    }

    private Object rangeItem(int index) {
        return kind == ContainerKind.RANGE ? items.get(index) : null;
    }

    /**
     * What the container holds, such as "ENUMERATION of FIX32: 100, 150, 200 (current 100,
     * default 100)" or "RANGE of FIX32: 75 to 600 step 25 (current 100, default 100)".
     */
    @Override
    public String toString() {
        StringBuilder text = new StringBuilder(kind + " of " + itemType + ": ");
        switch (kind) {
            case RANGE:
                text.append(Items.describe(min())).append(" to ").append(Items.describe(max()))
                        .append(" step ").append(Items.describe(step()));
                break;
            case ONE_VALUE:
                return text.append(Items.describe(current())).toString();
            default:
                text.append(Items.joined(items));
        }
        if (kind != ContainerKind.ARRAY) {
            text.append(" (current ").append(Items.describe(current())).append(", default ")
                    .append(Items.describe(defaultValue())).append(')');
        }
        return text.toString();
    }
}
