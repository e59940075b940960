package QZ.korvel.twain;

import java.util.Set;

/** Capabilities by their number, with their containers; on the session's thread. */
final class CapabilityRequests {
    private static final int MSG_GET = 0x0001;
    private static final int MSG_GETCURRENT = 0x0002;
    private static final int MSG_GETDEFAULT = 0x0003;
    private static final int MSG_RESET = 0x0007;
    private static final int MSG_QUERYSUPPORT = 0x0008;
    private static final int TWRC_CHECKSTATUS = 2;

    private CapabilityRequests() {}

    static CapabilityValue current(Capability capability) throws TwainException {
        return read("reading " + capability, capability, MSG_GETCURRENT);
    }

    static CapabilityValue reset(Capability capability) throws TwainException {
        return read("resetting " + capability, capability, MSG_RESET);
    }

    static Supported supported(Capability capability) throws TwainException {
        CapabilityValue allowed = read("reading the values of " + capability, capability, MSG_GET);
        CapabilityValue current = readIfAnswered(capability, MSG_GETCURRENT);
        CapabilityValue fallback = readIfAnswered(capability, MSG_GETDEFAULT);
        CapabilityValue operations = readIfAnswered(capability, MSG_QUERYSUPPORT);
        Set<CapabilityOperation> taken = null;
        if (operations != null && operations.current() instanceof Number) {
            taken = CapabilityOperation.fromBits(((Number) operations.current()).longValue());
        }
        return new Supported(capability, allowed,
                current != null ? current.current() : allowed.current(),
                fallback != null ? fallback.current() : allowed.defaultValue(), taken);
    }

    /**
     * Sends the container with MSG_SET.
     *
     * @return true when the source took it as given, false when it took other values
     */
    static boolean set(Capability capability, CapabilityValue value) throws TwainException {
        String step = "setting " + capability + " to " + value;
        SessionStates.requireSource(step);
        TwainException.check(SessionPort.current().setCapability(capability.id(), value.toRecord()), step);
        return (SessionPort.current().resultCode() & 0xFFFF) != TWRC_CHECKSTATUS;
    }

    static CapabilityValue read(String step, Capability capability, int msg)
            throws TwainException {
        SessionStates.requireSource(step);
        byte[] record = SessionPort.current().readCapability(capability.id(), msg);
        if (record == null) {
            throw TwainException.atStep(step);
        }
        return decoded(step, record);
    }

    /** A read that a source need not answer; a container it answers badly still fails. */
    private static CapabilityValue readIfAnswered(Capability capability, int msg)
            throws TwainException {
        byte[] record = SessionPort.current().readCapability(capability.id(), msg);
        return record != null ? decoded("reading " + capability, record) : null;
    }

    private static CapabilityValue decoded(String step, byte[] record) throws TwainException {
        NativeRecord.Reader reader = new NativeRecord.Reader(record);
        if (reader.u8() != 0) {
            throw TwainException.inLibrary(step,
                    "the source answered a malformed container: " + reader.text(),
                    FailureKind.OTHER, null);
        }
        return CapabilityValue.read(reader);
    }
}
