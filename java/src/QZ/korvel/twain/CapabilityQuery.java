package QZ.korvel.twain;

import java.util.Objects;

/**
 * One request for a capability with the message the caller names, answered as the source gave
 * it: for a program that checks what a source answers to each message, where {@link
 * ScanSession#supported} asks them all and forgives those a source need not answer. It follows
 * the rules of {@link TwainEx}: the thread that registered sends every request; in a {@link
 * ScanSession}, run it with {@link ScanSession#call}.
 */
public final class CapabilityQuery {
    /** The messages that read a capability. */
    public enum Message {
        /** MSG_GET: the values allowed, with the current and default ones. */
        GET(0x0001),
        /** MSG_GETCURRENT: the current value. */
        GET_CURRENT(0x0002),
        /** MSG_GETDEFAULT: the default value. */
        GET_DEFAULT(0x0003),
        /** MSG_RESET: back to the default, answering the value it has then. */
        RESET(0x0007),
        /** MSG_QUERYSUPPORT: the TWQC_ bits of the operations the source takes. */
        QUERY_SUPPORT(0x0008);

        private final int code;

        Message(int code) {
            this.code = code;
        }

        /**
         * The message's code.
         *
         * @return the MSG_ code
         */
        public int code() {
            return code;
        }
    }

    private CapabilityQuery() {}

    /**
     * Sends DG_CONTROL / DAT_CAPABILITY with the message.
     *
     * @param capability the capability
     * @param message the message
     * @return the container the source answered with
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source refused, with its codes, or answered with a malformed
     *     container
     * @throws UnsatisfiedLinkError if the native library cannot be loaded, saying why
     */
    public static CapabilityValue read(Capability capability, Message message)
            throws TwainException {
        Objects.requireNonNull(capability, "capability");
        Objects.requireNonNull(message, "message");
        NativeLibrary.require();
        return CapabilityRequests.read(
                "sending MSG_" + message.name().replace("_", "") + " for " + capability,
                capability, message.code());
    }
}
