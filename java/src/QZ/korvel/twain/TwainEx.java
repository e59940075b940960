package QZ.korvel.twain;

import java.awt.image.ImageConsumer;

/**
 * The native TWAIN session of the process, as the scanlink32 library implements it: the raw
 * interface. Most applications use {@link ScanSession}, which runs these calls on a thread of its
 * own and turns failures into exceptions.
 *
 * <p>There is one session per process, so every method is static. Steps return whether they
 * reached their state; {@link #getState}, {@link #getResultCode} and {@link #getConditionCode}
 * tell the state and the TWAIN codes of the last operation. Capability getters never fail: each
 * returns its default when the source gives no value, and only the result code tells a refused
 * request apart.
 *
 * <h2>Threads</h2>
 *
 * <p>One thread speaks TWAIN: the thread that calls {@link #register} owns the session and sends
 * every request to the source manager and the source, since scanner drivers open their windows on
 * it and assume it. Every method may still be called from any thread:
 *
 * <ul>
 *   <li>While the owner waits for a page in {@link #acquireImage}, a call from another thread is
 *       carried out by the owner between two requests, and its caller gets the answer. A teardown
 *       ({@link #stopTransfer}, {@link #closeSource}, {@link #unregister}) made so ends the wait,
 *       which returns false, whether the source accepts the teardown or not.
 *   <li>While the owner does not wait, a call from another thread that would send a request is
 *       refused at once: nothing is sent, it returns false (a getter its default), and the result
 *       and condition codes read TWRC_FAILURE (1) and TWCC_SEQERROR (11). A call that sends
 *       nothing runs on its own thread; {@link #setVisible}, {@link #getVisible} and a teardown
 *       whose state says that nothing is left to take down answer at once, even while the owner
 *       is in a call that lasts, such as the selection dialog. {@link #acquireImage} works only on
 *       the owner.
 *   <li>A refused getter answers the value it answers when the source gives none (the one each
 *       getter names, such as 0, black and white, for {@link #getPixelType}), with the codes
 *       TWRC_FAILURE and TWCC_SEQERROR: the codes of a source's own sequence error too. The
 *       library keeps the reason of the last refusal (the method and why) apart from the codes; a
 *       later call of the session that is carried out forgets it.
 *   <li>On the owner's own thread, a window procedure, a modal loop or an {@code ImageConsumer} may
 *       call back: during a wait for a page the call runs at once (a second wait is refused); inside
 *       a request to the manager or the source, such as its selection dialog, it is refused unless
 *       it sends nothing.
 *   <li>{@link #getState}, {@link #getResultCode} and {@link #getConditionCode} answer at once on
 *       any thread.
 *   <li>A thread that ends without {@link #unregister} leaves the session to the next caller.
 * </ul>
 *
 * <pre>{@code
 * // All on one thread, the one that registers.
 * TwainEx.register(1, 0, "Acme", "Office tools", "Acme Scan");
 * try {
 *     if (TwainEx.openSource() && TwainEx.prepareTransfer()) {
 *         BufferedImageConsumer consumer = new BufferedImageConsumer();
 *         if (TwainEx.acquireImage(consumer)) {
 *             ImageIO.write(consumer.image(), "png", new File("page.png"));
 *         }
 *     }
 * } finally {
 *     TwainEx.unregister();
 * }
 * }</pre>
 *
 * <h2>The native library</h2>
 *
 * <p>The class loads {@code scanlink32} ({@code scanlink64} in a 64-bit VM on Windows) from the
 * jar, where the library for each OS and architecture lies ({@code
 * natives/windows-x86/scanlink32.dll}, {@code natives/windows-x86_64/scanlink64.dll}, {@code
 * natives/linux-x86_64/libscanlink32.so}). Each VM writes the library afresh, under a random name,
 * into a per-user folder that only the user can write ({@code %LOCALAPPDATA%\scanlink32\natives}
 * on Windows, {@code $XDG_CACHE_HOME/scanlink32/natives} or {@code ~/.cache/scanlink32/natives}
 * elsewhere), compares the file with the jar's bytes and loads that very file. It never searches
 * {@code java.library.path}, {@code PATH} or the current folder, where a planted file of the same
 * name could wait. To load a library outside the jar, name its file by its full path in the system
 * property {@code scanlink32.library.file}, for instance {@code
 * -Dscanlink32.library.file=C:\scanlink\scanlink64.dll}; a relative path is refused. A library
 * that cannot be found or loaded, a library of another version than the binding's (see {@link
 * Version}), a cache folder that others could write, a link in it, or a cache folder that is not a
 * full path makes the first use of the binding throw an {@link UnsatisfiedLinkError} that names
 * what failed. The load is not tried again: a later use of {@link ScanSession}, {@link Trace} or
 * {@link Version} throws the same message with the first failure as its cause, and a later call of
 * this class meets the VM's {@code NoClassDefFoundError} for it, which names the first failure in
 * its cause on VMs that give it one.
 */
public final class TwainEx {
    static {
        NativeLibrary.require();
    }

    private TwainEx() {}

    // Session state and codes

    /**
     * The session's state: 0 before the first {@link #register}, 1 with no source manager loaded,
     * 2 loaded, 3 open, 4 a source open, 5 the source enabled, 6 a transfer ready, 7 an image
     * transferred and not yet ended.
     *
     * @return the state, 0 to 7
     */
    public static native int getState();

    /**
     * The TWAIN result code of the last operation sent (see {@link TwainCodes}).
     *
     * @return the code; its 16 bits count, so codes from 0x8000 on are negative
     */
    public static native short getResultCode();

    /**
     * The TWAIN condition code of the last operation sent (see {@link TwainCodes}).
     *
     * @return the code; its 16 bits count
     */
    public static native short getConditionCode();

    // Lifecycle

    /**
     * Loads and opens the source manager for the application named here (state 3). Does nothing
     * when it is open already.
     *
     * @param versionMajor the application's major version
     * @param versionMinor the application's minor version
     * @param manufacturer the application's maker
     * @param productFamily its family of products
     * @param productName its name
     * @return whether the manager is open
     */
    public static native boolean register(int versionMajor, int versionMinor, String manufacturer,
            String productFamily, String productName);

    /**
     * Shows the manager's dialog, in which the user chooses a source (state 3 only).
     *
     * @return whether a source was chosen; false also when the dialog was cancelled (TWRC_CANCEL)
     */
    public static native boolean selectSource();

    /**
     * Opens the manager's default source (state 4).
     *
     * @return whether a source is open
     */
    public static native boolean openSource();

    /**
     * Ends the transfers and disables the source (state 4). A source that announced a transfer on
     * its own (many do inside {@link #prepareTransfer}) refuses to be disabled as out of sequence:
     * the transfer it announced is then reset and the source disabled again.
     *
     * @return whether the session is at state 4 or below
     */
    public static native boolean stopTransfer();

    /**
     * Disables and closes the source (state 3). A source that cannot be disabled is still asked to
     * close, since many close from any state; the state then says whether it did.
     *
     * @return whether the session is at state 3 or below
     */
    public static native boolean closeSource();

    /**
     * Takes the session down from any state and releases the manager (state 1). The source and
     * the manager are asked to close even when a step before failed. When the manager still
     * refuses to close with a source open in it, the manager is kept and the state tells where the
     * session is, so that the source is never left open behind a session that claims state 1; a
     * later call tries again. A manager that refuses to close with no source open is released all
     * the same.
     *
     * @return whether the session is at state 1 or below
     */
    public static native boolean unregister();

    // Acquisition

    /**
     * Enables the open source, showing its dialog if {@link #getVisible} says so (state 5).
     *
     * @return whether the source is enabled
     */
    public static native boolean prepareTransfer();

    /**
     * Waits for the next page and delivers it to the consumer, one {@code setPixels} call per row
     * from the top; transfers still pending after it are discarded. The consumer's methods run on
     * the calling thread and may call this class again. Returns false without waiting when the
     * source is not enabled, when the calling thread is not the one that enabled it or already
     * waits (condition code TWCC_SEQERROR), or when a step the source must accept to go on (ending
     * a transfer, disabling the source) is refused twice; the codes then describe that step. A
     * transfer left unended, or left announced, by an earlier call is finished first. A teardown
     * from another thread ends the wait with false.
     *
     * <p>A page that cannot be read ends the call with a {@code java.lang.Exception} that names
     * why, and a consumer that fails ends it with its own exception, though the method declares
     * none.
     *
     * @param consumer receives the page; {@link BufferedImageConsumer} builds a {@code
     *     BufferedImage} of it; null loses the page with an exception
     * @return whether a page was delivered
     */
    public static native boolean acquireImage(ImageConsumer consumer);

    /**
     * Whether the source shows its own dialog when enabled.
     *
     * @return the setting
     */
    public static native boolean getVisible();

    /**
     * Sets whether the source shows its own dialog when enabled; {@link #register} sets it. Any
     * thread sets and reads it at once, also while the owner is in a dialog; the setting counts
     * from the next {@link #prepareTransfer} on.
     *
     * @param visible the setting
     * @return true
     */
    public static native boolean setVisible(boolean visible);

    // Scan frame, in the source's current units

    /**
     * Sets the area to scan, in whole units of {@link #getCurrentUnits}: fractions are cut.
     *
     * @param left the left edge
     * @param top the top edge
     * @param right the right edge
     * @param bottom the bottom edge
     * @return whether the source took the frame
     */
    public static native boolean setFrame(double left, double top, double right, double bottom);

    // Capabilities. Getters answer their default when the source gives no value; setters answer
    // whether the source took the value. Lengths and resolutions are in the source's current units.
    /**
     * Whether the source sets the brightness itself (ICAP_AUTOBRIGHT).
     *
     * @return the value, or false when the source gives none
     */
    public static native boolean getAutoBrightness();
    /**
     * Sets whether the source sets the brightness itself (ICAP_AUTOBRIGHT).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setAutoBrightness(boolean value);
    /**
     * Whether the feeder feeds each sheet itself (CAP_AUTOFEED).
     *
     * @return the value, or false when the source gives none
     */
    public static native boolean getAutoFeed();
    /**
     * Sets whether the feeder feeds each sheet itself (CAP_AUTOFEED).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setAutoFeed(boolean value);
    /**
     * The bits per pixel (ICAP_BITDEPTH).
     *
     * @return the value, or 1 when the source gives none
     */
    public static native int getBitDepth();
    /**
     * Sets the bits per pixel (ICAP_BITDEPTH).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setBitDepth(int value);
    /**
     * How gray becomes black and white (TWBR_ values) (ICAP_BITDEPTHREDUCTION).
     *
     * @return the value, or 0 when the source gives none
     */
    public static native short getBitDepthReduction();
    /**
     * Sets how gray becomes black and white (TWBR_ values) (ICAP_BITDEPTHREDUCTION).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setBitDepthReduction(short value);
    /**
     * The brightness, -1000 to 1000 (ICAP_BRIGHTNESS).
     *
     * @return the value, or 0.0 when the source gives none
     */
    public static native double getBrightness();
    /**
     * Sets the brightness, -1000 to 1000 (ICAP_BRIGHTNESS).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setBrightness(double value);
    /**
     * Whether the source can scan without showing its dialog (CAP_UICONTROLLABLE).
     *
     * @return the value, or false when the source gives none
     */
    public static native boolean getCanHideUI();
    /**
     * The contrast, -1000 to 1000 (ICAP_CONTRAST).
     *
     * @return the value, or 0.0 when the source gives none
     */
    public static native double getContrast();
    /**
     * Sets the contrast, -1000 to 1000 (ICAP_CONTRAST).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setContrast(double value);
    /**
     * The units of lengths and resolutions (TWUN_ values, see {@link Units}) (ICAP_UNITS).
     *
     * @return the value, or 0 when the source gives none
     */
    public static native short getCurrentUnits();
    /**
     * Sets the units of lengths and resolutions (TWUN_ values, see {@link Units}) (ICAP_UNITS).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setCurrentUnits(short value);
    /**
     * Whether the device is on and connected (CAP_DEVICEONLINE).
     *
     * @return the value, or false when the source gives none
     */
    public static native boolean isDeviceOnLine();
    /**
     * Whether pages come from the document feeder (CAP_FEEDERENABLED).
     *
     * @return the value, or false when the source gives none
     */
    public static native boolean getFeederEnabled();
    /**
     * Sets whether pages come from the document feeder (CAP_FEEDERENABLED).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setFeederEnabled(boolean value);
    /**
     * Whether the document feeder holds paper (CAP_FEEDERLOADED).
     *
     * @return the value, or false when the source gives none
     */
    public static native boolean isFeederLoaded();
    /**
     * The level that becomes white, 0 to 255 (ICAP_HIGHLIGHT).
     *
     * @return the value, or 255.0 when the source gives none
     */
    public static native double getHighLight();
    /**
     * Sets the level that becomes white, 0 to 255 (ICAP_HIGHLIGHT).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setHighLight(double value);
    /**
     * The page orientation (TWOR_ values) (ICAP_ORIENTATION).
     *
     * @return the value, or 0 when the source gives none
     */
    public static native short getOrientation();
    /**
     * Sets the page orientation (TWOR_ values) (ICAP_ORIENTATION).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setOrientation(short value);
    /**
     * The height of the largest page the source scans (ICAP_PHYSICALHEIGHT).
     *
     * @return the value, or 0.0 when the source gives none
     */
    public static native double getPhysicalHeight();
    /**
     * The width of the largest page the source scans (ICAP_PHYSICALWIDTH).
     *
     * @return the value, or 0.0 when the source gives none
     */
    public static native double getPhysicalWidth();
    /**
     * The kind of pixel (TWPT_ values, see {@link PixelType}) (ICAP_PIXELTYPE).
     *
     * @return the value, or 0 when the source gives none
     */
    public static native short getPixelType();
    /**
     * Sets the kind of pixel (TWPT_ values, see {@link PixelType}) (ICAP_PIXELTYPE).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setPixelType(short value);
    /**
     * The rotation of the page in degrees (ICAP_ROTATION).
     *
     * @return the value, or 0.0 when the source gives none
     */
    public static native double getRotation();
    /**
     * Sets the rotation of the page in degrees (ICAP_ROTATION).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setRotation(double value);
    /**
     * The level that becomes black, 0 to 255 (ICAP_SHADOW).
     *
     * @return the value, or 0.0 when the source gives none
     */
    public static native double getShadow();
    /**
     * Sets the level that becomes black, 0 to 255 (ICAP_SHADOW).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setShadow(double value);
    /**
     * Whether the source shows its progress while scanning (CAP_INDICATORS).
     *
     * @return the value, or false when the source gives none
     */
    public static native boolean getShowIndicators();
    /**
     * Sets whether the source shows its progress while scanning (CAP_INDICATORS).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setShowIndicators(boolean value);
    /**
     * How many pages one enable transfers; 65535 for any number (CAP_XFERCOUNT).
     *
     * @return the value, or 65535 when the source gives none
     */
    public static native int getTransferCount();
    /**
     * Sets how many pages one enable transfers; -1 for any number (CAP_XFERCOUNT).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setTransferCount(int value);
    /**
     * The level that divides black from white, 0 to 255 (ICAP_THRESHOLD).
     *
     * @return the value, or 128.0 when the source gives none
     */
    public static native double getThreshold();
    /**
     * Sets the level that divides black from white, 0 to 255 (ICAP_THRESHOLD).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setThreshold(double value);
    /**
     * The optical horizontal resolution (ICAP_XNATIVERESOLUTION).
     *
     * @return the value, or 0.0 when the source gives none
     */
    public static native double getXNativeResolution();
    /**
     * The horizontal resolution, in dots per unit (ICAP_XRESOLUTION).
     *
     * @return the value, or 0.0 when the source gives none
     */
    public static native double getXResolution();
    /**
     * Sets the horizontal resolution, in dots per unit (ICAP_XRESOLUTION).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setXResolution(double value);
    /**
     * The horizontal scaling; 1 for none (ICAP_XSCALING).
     *
     * @return the value, or 1.0 when the source gives none
     */
    public static native double getXScaling();
    /**
     * Sets the horizontal scaling; 1 for none (ICAP_XSCALING).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setXScaling(double value);
    /**
     * The optical vertical resolution (ICAP_YNATIVERESOLUTION).
     *
     * @return the value, or 0.0 when the source gives none
     */
    public static native double getYNativeResolution();
    /**
     * The vertical resolution, in dots per unit (ICAP_YRESOLUTION).
     *
     * @return the value, or 0.0 when the source gives none
     */
    public static native double getYResolution();
    /**
     * Sets the vertical resolution, in dots per unit (ICAP_YRESOLUTION).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setYResolution(double value);
    /**
     * The vertical scaling; 1 for none (ICAP_YSCALING).
     *
     * @return the value, or 1.0 when the source gives none
     */
    public static native double getYScaling();
    /**
     * Sets the vertical scaling; 1 for none (ICAP_YSCALING).
     *
     * @param value the value
     * @return whether the source took it
     */
    public static native boolean setYScaling(double value);
    // Page commands for the document feeder

    /**
     * Ejects the sheet at the scan position (CAP_CLEARPAGE).
     *
     * @return whether the source did it
     */
    public static native boolean clearPage();

    /**
     * Ejects the sheet at the scan position and feeds the next one (CAP_FEEDPAGE).
     *
     * @return whether the source did it
     */
    public static native boolean feedPage();

    /**
     * Puts the sheet at the scan position back on the tray (CAP_REWINDPAGE).
     *
     * @return whether the source did it
     */
    public static native boolean rewindPage();

    /**
     * Skips the sheet at the scan position: the same request as {@link #feedPage}.
     *
     * @return whether the source did it
     */
    public static native boolean skipImage();
}
