package scanlink.imagetest;

/**
 * Hands a packed DIB to the library's image delivery the way a scan does, from a native block of
 * exactly the array's length that is followed by an inaccessible page: a read past its end stops
 * the VM.
 */
public final class DibHarness {
    static {
        System.loadLibrary("image_harness");
    }

    /** What one delivery gave back: its result and the exception it left pending, if any. */
    public record Delivery(boolean result, Throwable thrown) {}

    private DibHarness() {}

    /**
     * Delivers {@code dib} (null: the memory lock gave no pointer) to {@code consumer}, which may
     * be any object at all, as the library never checks its type.
     */
    public static Delivery deliver(Object consumer, byte[] dib) {
        Throwable[] thrown = new Throwable[1];
        boolean result = deliverNative(consumer, dib, thrown);
        return new Delivery(result, thrown[0]);
    }

    private static native boolean deliverNative(Object consumer, byte[] dib, Throwable[] thrown);
}
