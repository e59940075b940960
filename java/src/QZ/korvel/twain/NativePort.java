package QZ.korvel.twain;

import java.awt.image.ImageConsumer;

/** The session of this process: the library's natives themselves. */
final class NativePort implements SessionPort {
    static final NativePort INSTANCE = new NativePort();

    private NativePort() {}

    @Override
    public int bits() {
        return "64".equals(System.getProperty("sun.arch.data.model")) ? 64 : 32;
    }

    @Override
    public int state() {
        return TwainEx.getState();
    }

    @Override
    public short resultCode() {
        return TwainEx.getResultCode();
    }

    @Override
    public short conditionCode() {
        return TwainEx.getConditionCode();
    }

    @Override
    public String refusal() {
        return SessionStates.refusal();
    }

    @Override
    public boolean register(int versionMajor, int versionMinor, String manufacturer,
            String productFamily, String productName) {
        return TwainEx.register(
                versionMajor, versionMinor, manufacturer, productFamily, productName);
    }

    @Override
    public boolean selectSource() {
        return TwainEx.selectSource();
    }

    @Override
    public boolean openSource() {
        return TwainEx.openSource();
    }

    @Override
    public boolean closeSource() {
        return TwainEx.closeSource();
    }

    @Override
    public boolean unregister() {
        return TwainEx.unregister();
    }

    @Override
    public boolean stopTransfer() {
        return TwainEx.stopTransfer();
    }

    @Override
    public boolean prepareTransfer() {
        return TwainEx.prepareTransfer();
    }

    @Override
    public boolean acquireImage(ImageConsumer consumer) {
        return TwainEx.acquireImage(consumer);
    }

    @Override
    public boolean setVisible(boolean visible) {
        return TwainEx.setVisible(visible);
    }

    @Override
    public void cancelWait() {
        PageWait.cancel();
    }

    @Override
    public byte[] listSources() {
        return DeviceEx.listSources();
    }

    @Override
    public byte[] defaultSource() {
        return DeviceEx.defaultSource();
    }

    @Override
    public boolean openSource(byte[] identity) {
        return DeviceEx.openSource(identity);
    }

    @Override
    public byte[] readCapability(int capability, int msg) {
        return DeviceEx.readCapability(capability, msg);
    }

    @Override
    public boolean setCapability(int capability, byte[] container) {
        return DeviceEx.setCapability(capability, container);
    }

    @Override
    public byte[] setFractionalFrame(double left, double top, double right, double bottom) {
        return DeviceEx.setFractionalFrame(left, top, right, bottom);
    }

    @Override
    public long transferFailure() {
        return DeviceEx.transferFailure();
    }

    @Override
    public short getPixelType() {
        return TwainEx.getPixelType();
    }

    @Override
    public boolean setPixelType(short value) {
        return TwainEx.setPixelType(value);
    }

    @Override
    public double getXResolution() {
        return TwainEx.getXResolution();
    }

    @Override
    public boolean setXResolution(double value) {
        return TwainEx.setXResolution(value);
    }

    @Override
    public double getYResolution() {
        return TwainEx.getYResolution();
    }

    @Override
    public boolean setYResolution(double value) {
        return TwainEx.setYResolution(value);
    }

    @Override
    public short getCurrentUnits() {
        return TwainEx.getCurrentUnits();
    }

    @Override
    public boolean setCurrentUnits(short value) {
        return TwainEx.setCurrentUnits(value);
    }

    @Override
    public boolean getFeederEnabled() {
        return TwainEx.getFeederEnabled();
    }

    @Override
    public boolean setFeederEnabled(boolean value) {
        return TwainEx.setFeederEnabled(value);
    }

    @Override
    public boolean isFeederLoaded() {
        return TwainEx.isFeederLoaded();
    }

    @Override
    public boolean setTransferCount(int value) {
        return TwainEx.setTransferCount(value);
    }
}
