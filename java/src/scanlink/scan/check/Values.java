package scanlink.scan.check;

import QZ.korvel.twain.CapabilityValue;
import QZ.korvel.twain.ContainerKind;
import java.util.Objects;

/** Capability values compared as the source means them: numbers by value, flags as 0 and 1. */
final class Values {
    private static final double TOLERANCE = 1e-6;

    private Values() {}

    static boolean same(Object a, Object b) {
        Double x = number(a);
        Double y = number(b);
        if (x != null && y != null) {
            return Math.abs(x - y) <= TOLERANCE;
        }
        return Objects.equals(a, b);
    }

    static Double number(Object value) {
        if (value instanceof Number) {
            return ((Number) value).doubleValue();
        }
        if (value instanceof Boolean) {
            return (Boolean) value ? 1.0 : 0.0;
        }
        return null;
    }

    /** The value a container answers for one message: a one value's, else its current or default. */
    static Object of(CapabilityValue container, boolean defaultValue) {
        if (container.kind() == ContainerKind.ONE_VALUE) {
            return container.current();
        }
        return defaultValue ? container.defaultValue() : container.current();
    }

    /** Why the value is not among those allowed, or null when it is. */
    static String outside(CapabilityValue allowed, Object value) {
        switch (allowed.kind()) {
            case ENUMERATION -> {
                for (Object item : allowed.values()) {
                    if (same(item, value)) {
                        return null;
                    }
                }
                return "not among the values MSG_GET lists";
            }
            case RANGE -> {
                Double v = number(value);
                Double min = number(allowed.min());
                Double max = number(allowed.max());
                Double step = number(allowed.step());
                if (v == null || min == null || max == null || step == null) {
                    return "not a number of the range";
                }
                if (v < min - TOLERANCE || v > max + TOLERANCE) {
                    return "outside the range " + min + " to " + max;
                }
                double steps = (v - min) / step;
                if (step > 0 && Math.abs(steps - Math.rint(steps)) > TOLERANCE * Math.max(1, steps)) {
                    return "not on a step of " + step + " from " + min;
                }
                return null;
            }
            case ONE_VALUE -> {
                return same(allowed.current(), value) ? null : "not the one value MSG_GET gives";
            }
            default -> {
                return null;
            }
        }
    }
}
