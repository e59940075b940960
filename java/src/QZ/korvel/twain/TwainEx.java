package QZ.korvel.twain;

import java.awt.image.ImageConsumer;

/**
 * The native TWAIN session of the process, as the scanlink32 library implements it.
 *
 * <p>There is one session per process, so every method is static. All methods belong on one
 * thread: the thread that calls {@link #register} owns the window through which the source's
 * events arrive, and {@link #acquireImage} pumps that thread's messages.
 *
 * <p>Steps return whether they reached their state; {@link #getState}, {@link #getResultCode} and
 * {@link #getConditionCode} tell the state and the TWAIN codes of the last operation. Capability
 * getters never fail: each returns its default when the source gives no value.
 */
public final class TwainEx {
    static {
        System.loadLibrary("scanlink32");
    }

    private TwainEx() {}

    // Session state and codes
    public static native int getState();
    public static native short getResultCode();
    public static native short getConditionCode();

    // Lifecycle
    public static native boolean register(int versionMajor, int versionMinor, String manufacturer,
            String productFamily, String productName);
    public static native boolean selectSource();
    public static native boolean openSource();
    public static native boolean stopTransfer();
    public static native boolean closeSource();
    public static native boolean unregister();

    // Acquisition
    public static native boolean prepareTransfer();
    public static native boolean acquireImage(ImageConsumer consumer);
    public static native boolean getVisible();
    public static native boolean setVisible(boolean visible);

    // Scan frame, in the source's current units
    public static native boolean setFrame(double left, double top, double right, double bottom);

    // Capabilities
    public static native boolean getAutoBrightness();
    public static native boolean setAutoBrightness(boolean value);
    public static native boolean getAutoFeed();
    public static native boolean setAutoFeed(boolean value);
    public static native int getBitDepth();
    public static native boolean setBitDepth(int value);
    public static native short getBitDepthReduction();
    public static native boolean setBitDepthReduction(short value);
    public static native double getBrightness();
    public static native boolean setBrightness(double value);
    public static native boolean getCanHideUI();
    public static native double getContrast();
    public static native boolean setContrast(double value);
    public static native short getCurrentUnits();
    public static native boolean setCurrentUnits(short value);
    public static native boolean isDeviceOnLine();
    public static native boolean getFeederEnabled();
    public static native boolean setFeederEnabled(boolean value);
    public static native boolean isFeederLoaded();
    public static native double getHighLight();
    public static native boolean setHighLight(double value);
    public static native short getOrientation();
    public static native boolean setOrientation(short value);
    public static native double getPhysicalHeight();
    public static native double getPhysicalWidth();
    public static native short getPixelType();
    public static native boolean setPixelType(short value);
    public static native double getRotation();
    public static native boolean setRotation(double value);
    public static native double getShadow();
    public static native boolean setShadow(double value);
    public static native boolean getShowIndicators();
    public static native boolean setShowIndicators(boolean value);
    public static native int getTransferCount();
    public static native boolean setTransferCount(int value);
    public static native double getThreshold();
    public static native boolean setThreshold(double value);
    public static native double getXNativeResolution();
    public static native double getXResolution();
    public static native boolean setXResolution(double value);
    public static native double getXScaling();
    public static native boolean setXScaling(double value);
    public static native double getYNativeResolution();
    public static native double getYResolution();
    public static native boolean setYResolution(double value);
    public static native double getYScaling();
    public static native boolean setYScaling(double value);

    // Page commands for the document feeder
    public static native boolean clearPage();
    public static native boolean feedPage();
    public static native boolean rewindPage();
    public static native boolean skipImage();
}
