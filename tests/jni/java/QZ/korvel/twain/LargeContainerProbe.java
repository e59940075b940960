package QZ.korvel.twain;

import scanlink.virtualscanner.VirtualScanner;

/**
 * Run in a VM of its own, whose address space is limited: the source answers a read of
 * ICAP_PIXELTYPE with an array of as many TWTY_UINT8 items as the argument says. Prints what the
 * read came to, and the state after the session is closed.
 */
public final class LargeContainerProbe {
    private LargeContainerProbe() {}

    public static void main(String[] args) {
        int items = Integer.parseInt(args[0]);
        VirtualScanner.setKnob("ICAP_PIXELTYPE.container", 3); // TWON_ARRAY
        VirtualScanner.setKnob("ICAP_PIXELTYPE.itemType", 3); // TWTY_UINT8
        VirtualScanner.setKnob("ICAP_PIXELTYPE.numItems", items);
        VirtualScanner.setKnob("ICAP_PIXELTYPE.blockSize", 6L + items);
        TwainEx.register(1, 0, "scanlink32", "Tests", "Large container");
        TwainEx.openSource();
        try {
            byte[] answer = DeviceEx.readCapability(0x0101, 0x0001); // ICAP_PIXELTYPE, MSG_GET
            System.out.println(answer == null ? "no answer" : "answered " + answer.length);
        } catch (OutOfMemoryError e) {
            System.out.println("OutOfMemoryError: " + e.getMessage());
        }
        TwainEx.unregister();
        System.out.println("state " + TwainEx.getState());
    }
}
