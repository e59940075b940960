package scanlink.virtualscanner;

import java.util.ArrayList;
import java.util.List;

/**
 * Test controls of the virtual scanner (the stand-in Twain_32.dll): script its answers, set its
 * knobs, and read every triplet it received. Also tells how many Win32 global memory handles and
 * windows are alive in the process, so that a test can prove that nothing leaked.
 */
public final class VirtualScanner {
    static {
        System.loadLibrary("virtual_scanner_jni");
    }

    private VirtualScanner() {}

    /**
     * One triplet as the manager received it, with copies of the records it came with, the thread
     * it came from, and whether a source that assumes one thread refused it for that thread.
     */
    public record Triplet(long originId, boolean toSource, long destinationId, int dg, int dat,
            int msg, int resultCode, long thread, boolean refusedForThread, byte[] data,
            byte[] origin, byte[] container) {
        public boolean is(int dg, int dat, int msg) {
            return this.dg == dg && this.dat == dat && this.msg == msg;
        }

        @Override
        public String toString() {
            return String.format("%s DG %d DAT 0x%04X MSG 0x%04X -> %d",
                    toSource ? "source" : "manager", dg, dat, msg, resultCode);
        }
    }

    /**
     * Switches the device off and on: manager and source close whatever their state, as when a
     * process that used them ends.
     */
    public static native void powerCycle();

    /** Forgets the log, the scripted answers and the knobs. */
    public static native void reset();

    /**
     * The next {@code times} triplets DG/DAT/MSG (negative: all) are answered with
     * {@code resultCode}, and {@code conditionCode} is what the next status request reports (a
     * scripted DAT_STATUS answer carries it in its status record).
     */
    public static native void script(int dg, int dat, int msg, int resultCode, int conditionCode,
            int times);

    /** Sets one of the source's named knobs. */
    public static native void setKnob(String name, long value);

    /**
     * Pages come from these BMP files (joined with ':'), one per page, from the next open of the
     * source on; an empty list brings the test chart back.
     */
    public static native void setPageFiles(String list);

    /**
     * The page the source would scan now: width, height, then width x height 0xRRGGBB values row
     * by row from the top.
     */
    public static native int[] expectedPage();

    /** A window of the calling thread whose procedure counts the messages dispatched to it. */
    public static native int createRecordingWindow();

    /** How many times {@code message} was dispatched to the recording window. */
    public static native int dispatchedTo(int message);

    public static native boolean destroyWindow(int window);

    public static native boolean postMessage(int window, int message);

    /** Asks the calling thread's message loop to end. */
    public static native void postQuitMessage();

    /** Messages waiting in the calling thread's queue. */
    public static native long queuedMessages();

    /** Scan, or OK in the selection dialog, as a button of the device's dialogs. */
    public static final int IDOK = 1;
    /** Cancel, as a button of the device's dialogs. */
    public static final int IDCANCEL = 2;

    /**
     * One of the device's windows ({@code "source.dialog"}, {@code "source.progress"} or {@code
     * "manager.dialog"}), or 0 while it shows none.
     */
    public static native long window(String which);

    /** Presses a button of one of the device's dialogs, as a click does; false without one. */
    public static native boolean press(String which, int button);

    public static native int managerState();

    public static native int sourceState();

    public static native long liveGlobalHandles();

    public static native long liveWindows();

    public static List<Triplet> log() {
        int size = logSize();
        List<Triplet> entries = new ArrayList<>(size);
        for (int i = 0; i < size; i++) {
            long[] h = logHeader(i);
            entries.add(new Triplet(h[0], h[1] != 0, h[2], (int) h[3], (int) h[4], (int) h[5],
                    (int) h[6], h[7], h[8] != 0, logData(i), logOrigin(i), logContainer(i)));
        }
        return entries;
    }

    /** The log without the status requests that follow every triplet. */
    public static List<Triplet> logWithoutStatus() {
        List<Triplet> entries = new ArrayList<>();
        for (Triplet t : log()) {
            if (!(t.dg() == 1 && t.dat() == 0x0008)) {
                entries.add(t);
            }
        }
        return entries;
    }

    private static native int logSize();

    private static native long[] logHeader(int index);

    private static native byte[] logData(int index);

    private static native byte[] logOrigin(int index);

    private static native byte[] logContainer(int index);
}
