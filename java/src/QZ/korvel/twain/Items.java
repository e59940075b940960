package QZ.korvel.twain;

import java.math.BigDecimal;
import java.util.List;

/** Capability items between their records and their Java values (see {@link ItemType}). */
final class Items {
    private static final double FIX32_SCALE = 65536.0;

    private Items() {}

    static Object read(NativeRecord.Reader record, ItemType type) {
        switch (type) {
            case UINT32:
                return record.i64();
            case BOOL:
                return record.i64() != 0;
            case FIX32:
                return fromFix32(record.i64());
            case FRAME:
                return new FrameItem(fromFix32(record.i64()), fromFix32(record.i64()),
                        fromFix32(record.i64()), fromFix32(record.i64()));
            default:
                return type.isText() ? (Object) record.text() : (Object) (int) record.i64();
        }
    }

    /**
     * Writes a value as an item of the type.
     *
     * @throws IllegalArgumentException if the value is not of the type's Java type or out of its
     *     range
     */
    static void write(NativeRecord.Writer record, ItemType type, Object value) {
        switch (type) {
            case BOOL:
                record.i64(as(Boolean.class, type, value) ? 1 : 0);
                break;
            case FIX32:
                record.i64(toFix32(as(Number.class, type, value).doubleValue()));
                break;
            case FRAME:
                FrameItem frame = as(FrameItem.class, type, value);
                for (double edge : new double[] {frame.left(), frame.top(), frame.right(),
                             frame.bottom()}) {
                    record.i64(toFix32(edge));
                }
                break;
            default:
                if (type.isText()) {
                    String text = as(String.class, type, value);
                    if (text.length() >= type.size()) {
                        throw new IllegalArgumentException("a string of " + text.length()
                                + " characters does not fit " + type);
                    }
                    record.text(text);
                } else {
                    record.i64(integer(type, as(Number.class, type, value)));
                }
        }
    }

    private static <T> T as(Class<T> javaType, ItemType type, Object value) {
        if (!javaType.isInstance(value)) {
            throw new IllegalArgumentException("an item of " + type + " is a "
                    + javaType.getSimpleName() + ", not " + describe(value));
        }
        return javaType.cast(value);
    }

    private static long integer(ItemType type, Number value) {
        long bits = value.longValue();
        boolean whole = value instanceof Integer || value instanceof Long || value instanceof Short
                || value instanceof Byte || value.doubleValue() == bits;
        int width = type.size() * 8;
        boolean signed = type == ItemType.INT8 || type == ItemType.INT16 || type == ItemType.INT32;
        long min = signed ? -(1L << (width - 1)) : 0;
        long max = signed ? (1L << (width - 1)) - 1 : (1L << width) - 1;
        if (!whole || bits < min || bits > max) {
            throw new IllegalArgumentException(value + " is no " + type + " (" + min + " to "
                    + max + ")");
        }
        return bits;
    }

    static double fromFix32(long bits) {
        return (int) bits / FIX32_SCALE;
    }

    /** The nearest multiple of 1/65536, halves away from zero, as Whole << 16 | Frac. */
    static long toFix32(double value) {
        if (!fitsFix32(value)) {
            throw new IllegalArgumentException(value + " is no FIX32 (-32768 to below 32768)");
        }
        double scaled = value * FIX32_SCALE;
        long nearest = (long) scaled;
        double fraction = scaled - nearest;
        if (fraction >= 0.5) {
            ++nearest;
        } else if (fraction <= -0.5) {
            --nearest;
        }
        return nearest & 0xFFFFFFFFL;
    }

    /**
     * Whether a FIX32 carries the value to its nearest 1/65536 (halves away from zero): -32768 to
     * just below 32768.
     */
    static boolean fitsFix32(double value) {
        double scaled = value * FIX32_SCALE;
        return scaled > Integer.MIN_VALUE - 0.5 && scaled < Integer.MAX_VALUE + 0.5;
    }

    /** A number without trailing zeros: 8.5, 100, 0.25. */
    static String number(double value) {
        return value == Math.rint(value) && Math.abs(value) < 1e15 ? Long.toString((long) value)
                : BigDecimal.valueOf(value).stripTrailingZeros().toPlainString();
    }

    /** A value as the program shows it: numbers plainly, strings quoted. */
    static String describe(Object value) {
        if (value instanceof Double) {
            return number((Double) value);
        }
        if (value instanceof String) {
            return "\"" + value + "\"";
        }
        return String.valueOf(value);
    }

    /** Values as {@link #describe} shows them, separated by commas. */
    static String joined(List<?> values) {
        StringBuilder text = new StringBuilder();
        for (Object value : values) {
            text.append(text.length() > 0 ? ", " : "").append(describe(value));
        }
        return text.toString();
    }
}
