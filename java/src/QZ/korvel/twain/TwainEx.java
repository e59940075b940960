package QZ.korvel.twain;

import java.awt.image.ImageConsumer;

/**
 * The native TWAIN session of the process, as the scanlink32 library implements it.
 *
 * <p>There is one session per process, so every method is static. Every method may be called from
 * any thread: calls never interleave, each sees the session as the previous one left it. The
 * thread that calls {@link #register} owns the window through which the source's events arrive,
 * so only that thread can wait for pages: {@link #acquireImage} on any other thread returns false
 * at once, with result code TWRC_FAILURE (1) and condition code TWCC_SEQERROR (11). A teardown
 * ({@link #stopTransfer}, {@link #closeSource}, {@link #unregister}) from another thread ends a
 * wait in {@link #acquireImage}, which then returns false. The session's window is destroyed on
 * its own thread: at once, or when that thread next calls a method of this class, or when it ends.
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
    /**
     * Waits for the next page and delivers it to the consumer, whose methods run on the calling
     * thread and may call this class again. Returns false without waiting when the source is not
     * enabled, when the calling thread did not register (condition code TWCC_SEQERROR), or when a
     * step the source must accept to go on (ending a transfer, disabling the source) is refused
     * twice; the codes then describe that step. A transfer left unended, or left announced, by an
     * earlier call is finished first.
     *
     * <p>A page that cannot be read ends the call with a {@code java.lang.Exception} that names
     * why, and a consumer that fails ends it with its own exception, though the method declares
     * none.
     *
     * @param consumer receives the page; null loses the page with an exception
     * @return whether a page was delivered
     */
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
