package QZ.korvel.twain;

import java.awt.image.ImageConsumer;

/**
 * Where a session's calls go: the library in this process ({@link NativePort}), or a bridge
 * process that runs the same library's session ({@link BridgePort}). The methods are the natives
 * that {@link ScanSession} uses, with their answers and codes; a port is called on its session's
 * thread, except {@link #state}, the codes and {@link #cancelWait}, which answer any thread.
 */
interface SessionPort {
    /** The port of the session whose thread this is; the library in this process elsewhere. */
    static SessionPort current() {
        SessionPort bound = Bound.PORT.get();
        return bound != null ? bound : NativePort.INSTANCE;
    }

    /** Binds the port to the calling thread, a session's, for good. */
    static void bind(SessionPort port) {
        Bound.PORT.set(port);
    }

    /** The width in bits of the drivers this port reaches. */
    int bits();

    int state();

    short resultCode();

    short conditionCode();

    /** Why the last call was refused without anything being sent, or null. */
    String refusal();

    boolean register(int versionMajor, int versionMinor, String manufacturer,
            String productFamily, String productName);

    boolean selectSource();

    boolean openSource();

    boolean closeSource();

    boolean unregister();

    boolean stopTransfer();

    boolean prepareTransfer();

    boolean acquireImage(ImageConsumer consumer);

    boolean setVisible(boolean visible);

    /** Ends the wait for a page, from any thread. */
    void cancelWait();

    byte[] listSources();

    byte[] defaultSource();

    boolean openSource(byte[] identity);

    byte[] readCapability(int capability, int msg);

    boolean setCapability(int capability, byte[] container);

    byte[] setFractionalFrame(double left, double top, double right, double bottom);

    long transferFailure();

    short getPixelType();

    boolean setPixelType(short value);

    double getXResolution();

    boolean setXResolution(double value);

    double getYResolution();

    boolean setYResolution(double value);

    short getCurrentUnits();

    boolean setCurrentUnits(short value);

    boolean getFeederEnabled();

    boolean setFeederEnabled(boolean value);

    boolean isFeederLoaded();

    boolean setTransferCount(int value);

    /** The thread's port. */
    final class Bound {
        static final ThreadLocal<SessionPort> PORT = new ThreadLocal<>();

        private Bound() {}
    }
}
