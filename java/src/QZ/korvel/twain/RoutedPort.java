package QZ.korvel.twain;

import java.awt.image.ImageConsumer;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.logging.Level;

/**
 * A session's calls, routed to the manager whose source is open. The session's own manager is
 * this process's library, or a bridge when the session runs isolated. A 64-bit VM on Windows also
 * reaches the 32-bit manager through the 32-bit bridge, started when its sources are first asked
 * for: opening one of them moves the session's source calls there until it is closed.
 */
final class RoutedPort implements SessionPort {
    private final SessionPort own;
    private final boolean offersNarrow;
    private volatile BridgePort narrow; // set on the session's thread
    private boolean narrowTried;
    private volatile SessionPort active;
    private Object[] registration;

    private RoutedPort(SessionPort own, boolean offersNarrow) {
        this.own = own;
        this.offersNarrow = offersNarrow;
        this.active = own;
    }

    /** The route of a session: isolated in a bridge of the VM's width, or in this process. */
    static RoutedPort of(boolean isolated) throws TwainException {
        if (isolated) {
            return new RoutedPort(BridgePort.start(BridgeProgram.vmBits()), false);
        }
        boolean narrowToo = NativeLibrary.isWindows(System.getProperty("os.name", ""))
                && BridgeProgram.vmBits() == 64 && BridgeProgram.available(32);
        return new RoutedPort(NativePort.INSTANCE, narrowToo);
    }

    /** Whether the session's calls go to a bridge process now. */
    boolean bridged() {
        return active instanceof BridgePort;
    }

    /** Why a bridge of the session is gone, or null. */
    TwainException bridgeEnded() {
        for (SessionPort port : new SessionPort[] {own, narrow}) {
            if (port instanceof BridgePort && ((BridgePort) port).ended() != null) {
                return ((BridgePort) port).ended();
            }
        }
        return null;
    }

    /** The session is closing: a bridge that does not answer within its grace period is ended. */
    void closing() {
        for (SessionPort port : new SessionPort[] {own, narrow}) {
            if (port instanceof BridgePort) {
                ((BridgePort) port).closing();
            }
        }
    }

    /** The bridges that serve this session, for the trace. */
    List<BridgePort> bridges() {
        List<BridgePort> bridges = new ArrayList<>();
        for (SessionPort port : new SessionPort[] {own, narrow}) {
            if (port instanceof BridgePort && ((BridgePort) port).ended() == null) {
                bridges.add((BridgePort) port);
            }
        }
        return bridges;
    }

    /** Every manager this session reaches, its own first; the narrow one started on first ask. */
    List<SessionPort> managers() {
        if (offersNarrow && !narrowTried && registration != null) {
            narrowTried = true;
            try {
                BridgePort started = BridgePort.start(32);
                if (started.register((Integer) registration[0], (Integer) registration[1],
                            (String) registration[2], (String) registration[3],
                            (String) registration[4])) {
                    narrow = started;
                } else {
                    started.shutdown();
                }
            } catch (TwainException | BridgeEnded e) {
                ScanSession.LOG.log(Level.FINE, "the 32-bit sources cannot be listed", e);
                Trace.failure("the 32-bit sources cannot be listed: " + e.getMessage());
            }
        }
        if (narrow == null) {
            return Collections.singletonList(own);
        }
        List<SessionPort> managers = new ArrayList<>();
        managers.add(own);
        managers.add(narrow);
        return managers;
    }

    /** Sends the source calls to `port` from now on: the manager of the source being opened. */
    void activate(SessionPort port) {
        active = port;
    }

    @Override
    public int bits() {
        return active.bits();
    }

    @Override
    public int state() {
        return active.state();
    }

    @Override
    public short resultCode() {
        return active.resultCode();
    }

    @Override
    public short conditionCode() {
        return active.conditionCode();
    }

    @Override
    public String refusal() {
        return active.refusal();
    }

    @Override
    public boolean register(int versionMajor, int versionMinor, String manufacturer,
            String productFamily, String productName) {
        registration = new Object[] {versionMajor, versionMinor, manufacturer, productFamily,
                productName};
        return own.register(versionMajor, versionMinor, manufacturer, productFamily, productName);
    }

    @Override
    public boolean selectSource() {
        return own.selectSource();
    }

    @Override
    public boolean openSource() {
        return active.openSource();
    }

    @Override
    public boolean closeSource() {
        boolean closed = active.closeSource();
        if (active.state() <= 3) {
            active = own;
        }
        return closed;
    }

    /** Takes every manager down, and ends the bridges. */
    @Override
    public boolean unregister() {
        boolean down = true;
        if (narrow != null) {
            try {
                narrow.unregister();
            } catch (BridgeEnded e) {
                // Gone with its session.
            }
            narrow.shutdown();
        }
        active = own;
        try {
            down = own.unregister();
        } finally {
            if (own instanceof BridgePort) {
                ((BridgePort) own).shutdown();
            }
        }
        return down;
    }

    @Override
    public boolean stopTransfer() {
        return active.stopTransfer();
    }

    @Override
    public boolean prepareTransfer() {
        return active.prepareTransfer();
    }

    @Override
    public boolean acquireImage(ImageConsumer consumer) {
        return active.acquireImage(consumer);
    }

    @Override
    public boolean setVisible(boolean visible) {
        boolean set = own.setVisible(visible);
        return narrow != null ? narrow.setVisible(visible) && set : set;
    }

    @Override
    public void cancelWait() {
        active.cancelWait();
    }

    @Override
    public byte[] listSources() {
        return own.listSources();
    }

    @Override
    public byte[] defaultSource() {
        return own.defaultSource();
    }

    @Override
    public boolean openSource(byte[] identity) {
        return active.openSource(identity);
    }

    @Override
    public byte[] readCapability(int capability, int msg) {
        return active.readCapability(capability, msg);
    }

    @Override
    public boolean setCapability(int capability, byte[] container) {
        return active.setCapability(capability, container);
    }

    @Override
    public byte[] setFractionalFrame(double left, double top, double right, double bottom) {
        return active.setFractionalFrame(left, top, right, bottom);
    }

    @Override
    public long transferFailure() {
        return active.transferFailure();
    }

    @Override
    public short getPixelType() {
        return active.getPixelType();
    }

    @Override
    public boolean setPixelType(short value) {
        return active.setPixelType(value);
    }

    @Override
    public double getXResolution() {
        return active.getXResolution();
    }

    @Override
    public boolean setXResolution(double value) {
        return active.setXResolution(value);
    }

    @Override
    public double getYResolution() {
        return active.getYResolution();
    }

    @Override
    public boolean setYResolution(double value) {
        return active.setYResolution(value);
    }

    @Override
    public short getCurrentUnits() {
        return active.getCurrentUnits();
    }

    @Override
    public boolean setCurrentUnits(short value) {
        return active.setCurrentUnits(value);
    }

    @Override
    public boolean getFeederEnabled() {
        return active.getFeederEnabled();
    }

    @Override
    public boolean setFeederEnabled(boolean value) {
        return active.setFeederEnabled(value);
    }

    @Override
    public boolean isFeederLoaded() {
        return active.isFeederLoaded();
    }

    @Override
    public boolean setTransferCount(int value) {
        return active.setTransferCount(value);
    }
}
