package QZ.korvel.twain;

import java.util.List;
import java.util.Locale;
import java.util.Objects;
import java.util.Set;
import java.util.concurrent.Callable;
import java.util.concurrent.CancellationException;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.ExecutionException;
import java.util.concurrent.Future;
import java.util.concurrent.FutureTask;
import java.util.concurrent.atomic.AtomicBoolean;
import java.util.function.BooleanSupplier;
import java.util.function.Supplier;
import java.util.logging.Level;
import java.util.logging.Logger;

/**
 * A TWAIN session that owns its thread: what an application programs against.
 *
 * <p>{@link #open} starts one thread, and every call of the session runs on it, from registering
 * with the source manager to {@link #close}. The session can be called from any thread, several
 * at once (the Swing event thread, a server's pool): calls are queued and run one after another in
 * the order they arrive, and each caller gets its own result or failure. A call waits for its
 * turn; a scan waits for its pages, so a user interface runs it off the event thread (in a {@code
 * SwingWorker}, for instance) and cancels it with {@link #cancel}.
 *
 * <p>A step that fails throws a {@link TwainException} that names the step, the TWAIN result and
 * condition codes and the session's state, with the {@link FailureKind kind} of failure that a
 * program can act on (a paper jam, an empty feeder, a device gone off line). A step asked for when
 * the session is not ready for it (a setting with no source open, say), and any method called after
 * {@link #close}, throw {@link IllegalStateException}.
 *
 * <pre>{@code
 * try (ScanSession session = ScanSession.open("Acme", "Office tools", "Acme Scan")) {
 *     session.openSource();
 *     session.setPixelType(PixelType.GRAY);
 *     session.setResolution(300);
 *     ScanResult result = session.scanFeeder();
 *     for (Page page : result.pages()) {
 *         ImageIO.write(page.image(), "png", new File("page-" + page.number() + ".png"));
 *     }
 *     if (result.failure() != null) {
 *         System.err.println(result.failure().getMessage());
 *     }
 * }
 * }</pre>
 *
 * <p>A thread interrupted while it waits for the session stops waiting at once, with its interrupt
 * flag still set: a call that has not started yet is cancelled, and one that has goes on on the
 * session's thread without its caller; such a call throws a {@link TwainException} (a {@link
 * CancellationException} where it declares none). A scan is cancelled and returns {@link
 * ScanResult.Outcome#CANCELLED} with the pages delivered before; {@link #close} returns while the
 * session's thread finishes the teardown.
 *
 * <p>TWAIN allows one session per process, so only one {@code ScanSession} can be open at a time.
 * While it is open, the application does not call {@link TwainEx} itself, except through {@link
 * #call} and {@link #perform}, which run on the session's thread. The session's thread is the only
 * one that sends anything to the source manager or the source: {@link #cancel} and {@link #close}
 * ask it to.
 */
public final class ScanSession implements AutoCloseable {
    private static final String INTERRUPTED =
            "the thread was interrupted; the call was cancelled unless it had started";

    /** The session's steps, at FINE, for an application that routes its logging somewhere. */
    static final Logger LOG = Logger.getLogger("QZ.korvel.twain");

    private static ScanSession current;

    private final SessionThread thread = new SessionThread("scanlink32 session");
    private final boolean isolated;
    /** Made on the session's thread, which starts any bridge: a bridge ends with its thread. */
    private volatile RoutedPort port;
    private final AtomicBoolean closing = new AtomicBoolean();
    private final CountDownLatch closed = new CountDownLatch(1);
    private final Set<ScanRun> runs = ConcurrentHashMap.newKeySet();
    private volatile TransferMode transferMode = TransferMode.AUTOMATIC;

    /** A step of the session, run on its thread. */
    private interface Task<T> {
        T run() throws TwainException;
    }

    private ScanSession(boolean isolated) {
        this.isolated = isolated;
    }

    /**
     * Opens a session with the source manager for an application of version 1.0.
     *
     * @param manufacturer the application's maker, at most 33 bytes in the system's code page
     * @param productFamily the family of products it belongs to, likewise
     * @param productName the application's name, likewise
     * @return the open session
     * @throws TwainException if the source manager cannot be loaded or opened
     * @throws IllegalStateException if a session is already open in this process
     * @throws UnsatisfiedLinkError if the native library cannot be loaded, saying why; every
     *     later use of the binding says the same
     */
    public static ScanSession open(String manufacturer, String productFamily, String productName)
            throws TwainException {
        return open(1, 0, manufacturer, productFamily, productName);
    }

    /**
     * Opens a session with the source manager.
     *
     * @param versionMajor the application's major version
     * @param versionMinor the application's minor version
     * @param manufacturer the application's maker, at most 33 bytes in the system's code page
     * @param productFamily the family of products it belongs to, likewise
     * @param productName the application's name, likewise
     * @return the open session
     * @throws TwainException if the source manager cannot be loaded or opened
     * @throws IllegalStateException if a session is already open in this process
     * @throws UnsatisfiedLinkError if the native library cannot be loaded, saying why; every
     *     later use of the binding says the same
     */
    public static ScanSession open(int versionMajor, int versionMinor, String manufacturer,
            String productFamily, String productName) throws TwainException {
        return open(versionMajor, versionMinor, manufacturer, productFamily, productName,
                new SessionOption[0]);
    }

    /**
     * Opens a session with the source manager, with options: {@link SessionOption#ISOLATED} runs
     * the whole session in a bridge process of its own, so that a driver that crashes ends that
     * process and not the VM.
     *
     * @param manufacturer the application's maker, at most 33 bytes in the system's code page
     * @param productFamily the family of products it belongs to, likewise
     * @param productName the application's name, likewise
     * @param options the session's options
     * @return the open session
     * @throws TwainException if the source manager cannot be loaded or opened, or the bridge
     *     process cannot be started
     * @throws IllegalStateException if a session is already open in this process
     * @throws UnsatisfiedLinkError if the native library cannot be loaded, saying why
     */
    public static ScanSession open(String manufacturer, String productFamily, String productName,
            SessionOption... options) throws TwainException {
        return open(1, 0, manufacturer, productFamily, productName, options);
    }

    /**
     * Opens a session with the source manager, with options (see {@link #open(String, String,
     * String, SessionOption...)}).
     *
     * @param versionMajor the application's major version
     * @param versionMinor the application's minor version
     * @param manufacturer the application's maker, at most 33 bytes in the system's code page
     * @param productFamily the family of products it belongs to, likewise
     * @param productName the application's name, likewise
     * @param options the session's options
     * @return the open session
     * @throws TwainException if the source manager cannot be loaded or opened, or the bridge
     *     process cannot be started
     * @throws IllegalStateException if a session is already open in this process
     * @throws UnsatisfiedLinkError if the native library cannot be loaded, saying why
     */
    public static ScanSession open(int versionMajor, int versionMinor, String manufacturer,
            String productFamily, String productName, SessionOption... options)
            throws TwainException {
        boolean isolated = false;
        for (SessionOption option : options) {
            isolated |= Objects.requireNonNull(option, "option") == SessionOption.ISOLATED;
        }
        Objects.requireNonNull(manufacturer, "manufacturer");
        Objects.requireNonNull(productFamily, "productFamily");
        Objects.requireNonNull(productName, "productName");
        // On the caller's thread, so that a library that cannot be loaded says why, here.
        NativeLibrary.require();
        ScanSession session;
        synchronized (ScanSession.class) {
            if (current != null) {
                throw new IllegalStateException("a ScanSession is already open in this process; "
                        + "TWAIN allows one session per process, so close it first");
            }
            session = new ScanSession(isolated);
            current = session;
        }
        try {
            session.execute(() -> {
                RoutedPort route = RoutedPort.of(session.isolated);
                SessionPort.bind(route);
                session.port = route;
                TwainException.check(route.register(versionMajor, versionMinor, manufacturer,
                                             productFamily, productName),
                        "opening the TWAIN source manager");
                return null;
            });
        } catch (TwainException | RuntimeException | Error e) {
            session.close();
            throw e;
        }
        LOG.fine(() -> "opened a session for " + manufacturer + " " + productName + " "
                + versionMajor + "." + versionMinor);
        return session;
    }

    // Sources

    /**
     * Shows the source manager's dialog, in which the user chooses the source that {@link
     * #openSource} opens.
     *
     * @return true when the user chose a source, false when the dialog was cancelled
     * @throws IllegalStateException if a source is open
     * @throws TwainException if the dialog cannot be shown
     */
    public boolean selectSource() throws TwainException {
        return execute(() -> {
            String step = "choosing the source";
            SessionStates.requireNoSource(step);
            if (SessionPort.current().selectSource()) {
                return true;
            }
            if ((SessionPort.current().resultCode() & 0xFFFF) == 3) { // TWRC_CANCEL
                return false;
            }
            throw TwainException.atStep(step);
        });
    }

    /**
     * Opens the source manager's default source: the one chosen last in {@link #selectSource}, or
     * the system's default. Does nothing when a source is open.
     *
     * @throws TwainException if the source cannot be opened
     */
    public void openSource() throws TwainException {
        step("opening the default source", () -> SessionPort.current().openSource());
        LOG.fine("opened the default source");
    }

    /**
     * The sources the source manager knows, in its order.
     *
     * @return their identities
     * @throws TwainException if the manager does not list them
     */
    public List<SourceIdentity> sources() throws TwainException {
        return execute(SourceDirectory::sources);
    }

    /**
     * The source manager's default source, which {@link #openSource()} opens.
     *
     * @return its identity
     * @throws TwainException if the manager does not tell
     */
    public SourceIdentity defaultSource() throws TwainException {
        return execute(SourceDirectory::defaultSource);
    }

    /**
     * Opens the source of that product name, without a dialog. When two sources share the name,
     * the first the manager lists is opened, by the Id the manager gave it.
     *
     * @param productName the name, as {@link SourceIdentity#productName()} gives it
     * @return the identity of the source opened
     * @throws IllegalStateException if a source is open
     * @throws TwainException if no source has that name ({@link FailureKind#NO_SUCH_SOURCE}, with
     *     a message that names those that exist), or the source cannot be opened
     */
    public SourceIdentity openSource(String productName) throws TwainException {
        Objects.requireNonNull(productName, "productName");
        SourceIdentity opened = execute(() -> SourceDirectory.open(productName));
        LOG.fine("opened the source " + opened);
        return opened;
    }

    /**
     * Opens a source that {@link #sources()} listed in this session.
     *
     * @param source the source
     * @throws IllegalStateException if a source is open
     * @throws TwainException if the source cannot be opened
     */
    public void openSource(SourceIdentity source) throws TwainException {
        Objects.requireNonNull(source, "source");
        execute(() -> {
            SourceDirectory.open("opening the source \"" + source.productName() + "\"", source);
            return null;
        });
        LOG.fine("opened the source " + source);
    }

    /**
     * Closes the source, disabling it first if need be. Does nothing when no source is open.
     *
     * @throws TwainException if the source refuses to be disabled or closed
     */
    public void closeSource() throws TwainException {
        step("closing the source", () -> SessionPort.current().closeSource());
    }

    /**
     * The session's state (see {@link TwainEx#getState}): 3 once open, 4 with a source open.
     * Answers at once, also while a scan runs.
     *
     * @return the state, 0 to 7
     */
    public int state() {
        RoutedPort route = port;
        return route != null ? route.state() : isolated ? 0 : TwainEx.getState();
    }

    // Settings. Each setter answers what the source took, read back from it after the set: a
    // source may take its nearest value rather than the one asked for, and a form shows that.

    /**
     * Sets the kind of pixel to scan.
     *
     * @param type the pixel type
     * @return the pixel type the source scans now, read back from it
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source refuses the type, or does not tell it back
     */
    public PixelType setPixelType(PixelType type) throws TwainException {
        Objects.requireNonNull(type, "type");
        return execute(() -> {
            setting("setting the pixel type to " + type, () -> SessionPort.current().setPixelType(type.code()));
            return pixelType();
        });
    }

    /**
     * The kind of pixel the source scans now.
     *
     * @return the pixel type
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source does not tell, or tells a value that is no standard
     *     pixel type
     */
    public PixelType pixelType() throws TwainException {
        return execute(() -> {
            String step = "reading the pixel type";
            short code = reading(step, () -> SessionPort.current().getPixelType());
            PixelType type = PixelType.fromCode(code);
            if (type == null) {
                throw TwainException.inLibrary(step,
                        "the source reports " + (code & 0xFFFF) + ", no pixel type",
                        FailureKind.OTHER, null);
            }
            return type;
        });
    }

    /**
     * Sets the horizontal and vertical resolution. The source's units become inches.
     *
     * @param dotsPerInch the resolution; the source may take the nearest it has
     * @return the horizontal resolution the source scans at now, read back from it ({@link
     *     #yResolution()} tells the vertical one, which a source may set apart)
     * @throws IllegalArgumentException if the resolution is not a positive number that TWAIN can
     *     carry (a TW_FIX32: below 32768)
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source refuses the resolution, or does not tell it back
     */
    public double setResolution(double dotsPerInch) throws TwainException {
        if (!(dotsPerInch > 0) || !Items.fitsFix32(dotsPerInch)) {
            throw new IllegalArgumentException(
                    "a resolution must be a positive number below 32768, not " + dotsPerInch);
        }
        return execute(() -> {
            setUnits(Units.INCHES);
            setting("setting the horizontal resolution to " + dotsPerInch,
                    () -> SessionPort.current().setXResolution(dotsPerInch));
            setting("setting the vertical resolution to " + dotsPerInch,
                    () -> SessionPort.current().setYResolution(dotsPerInch));
            return xResolution();
        });
    }

    /**
     * The horizontal resolution the source scans at now.
     *
     * @return dots per inch, or 0 when the source's units are pixels
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source does not tell
     */
    public double xResolution() throws TwainException {
        String step = "reading the horizontal resolution";
        return execute(() -> dotsPerInch(step, reading(step, () -> SessionPort.current().getXResolution())));
    }

    /**
     * The vertical resolution the source scans at now.
     *
     * @return dots per inch, or 0 when the source's units are pixels
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source does not tell
     */
    public double yResolution() throws TwainException {
        String step = "reading the vertical resolution";
        return execute(() -> dotsPerInch(step, reading(step, () -> SessionPort.current().getYResolution())));
    }

    /**
     * Sets the area of the glass to scan, to the 1/65536 of a unit. The source's units become the
     * frame's.
     *
     * @param frame the area
     * @return the area the source scans now, as it tells it back in the frame's units: a source
     *     may cut a frame to its glass, or round its edges; null when the source took the frame but
     *     does not tell it back
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source refuses the frame
     */
    public Frame setFrame(Frame frame) throws TwainException {
        Objects.requireNonNull(frame, "frame");
        return execute(() -> {
            String step = "setting the scan frame to " + frame;
            setUnits(frame.units());
            byte[] record = SessionPort.current().setFractionalFrame(
                    frame.left(), frame.top(), frame.right(), frame.bottom());
            if (record == null) {
                throw TwainException.atStep(step);
            }
            LOG.fine(step);
            NativeRecord.Reader reader = new NativeRecord.Reader(record);
            if (reader.u8() != 0) {
                return null;
            }
            return new Frame(Items.fromFix32(reader.i64()), Items.fromFix32(reader.i64()),
                    Items.fromFix32(reader.i64()), Items.fromFix32(reader.i64()), frame.units());
        });
    }

    /**
     * Takes pages from the document feeder, or from the glass.
     *
     * @param enabled true for the feeder
     * @return whether pages come from the feeder now, read back from the source
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source refuses, or does not tell it back
     */
    public boolean setFeederEnabled(boolean enabled) throws TwainException {
        return execute(() -> {
            setting("turning the document feeder " + (enabled ? "on" : "off"),
                    () -> SessionPort.current().setFeederEnabled(enabled));
            return isFeederEnabled();
        });
    }

    /**
     * Whether pages come from the document feeder.
     *
     * @return true for the feeder
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source does not tell
     */
    public boolean isFeederEnabled() throws TwainException {
        return execute(() -> reading("reading whether the feeder is on", () -> SessionPort.current().getFeederEnabled()));
    }

    /**
     * Whether the document feeder holds paper.
     *
     * @return true when there is paper to scan
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source does not tell
     */
    public boolean isFeederLoaded() throws TwainException {
        return execute(
                () -> reading("reading whether the feeder holds paper", () -> SessionPort.current().isFeederLoaded()));
    }

    /**
     * Scans both sides of each sheet, or the front only (CAP_DUPLEXENABLED).
     *
     * @param enabled true for both sides
     * @return whether both sides are scanned now, read back from the source
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source has no duplex, refuses, or does not tell it back
     */
    public boolean setDuplexEnabled(boolean enabled) throws TwainException {
        return setFlag(Capability.CAP_DUPLEXENABLED, enabled,
                "turning duplex " + (enabled ? "on" : "off"));
    }

    /**
     * Whether both sides of each sheet are scanned.
     *
     * @return true for both sides
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source does not tell
     */
    public boolean isDuplexEnabled() throws TwainException {
        return flag(Capability.CAP_DUPLEXENABLED);
    }

    /**
     * Shows the driver's progress indicator during a scan, or hides it (CAP_INDICATORS).
     *
     * @param shown true to show it
     * @return whether the driver shows it now, read back from the source
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source refuses, or does not tell it back
     */
    public boolean setIndicators(boolean shown) throws TwainException {
        return setFlag(Capability.CAP_INDICATORS, shown,
                (shown ? "showing" : "hiding") + " the progress indicator");
    }

    /**
     * Whether the driver shows its progress indicator during a scan.
     *
     * @return true when it does
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source does not tell
     */
    public boolean showsIndicators() throws TwainException {
        return flag(Capability.CAP_INDICATORS);
    }

    // Capabilities by their number

    /**
     * What the source supports of a capability: the values it allows, as a list or a range, its
     * current and default values, and the operations it takes when it tells them.
     *
     * @param capability the capability
     * @return what the source answered
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source does not have the capability ({@link
     *     FailureKind#CAPABILITY_UNSUPPORTED}), or it answers with a malformed container
     */
    public Supported supported(Capability capability) throws TwainException {
        Objects.requireNonNull(capability, "capability");
        return execute(() -> CapabilityRequests.supported(capability));
    }

    /**
     * The current value of a capability, in the container the source answers with (MSG_GETCURRENT).
     *
     * @param capability the capability
     * @return the container
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source does not tell, or it answers with a malformed
     *     container
     */
    public CapabilityValue current(Capability capability) throws TwainException {
        Objects.requireNonNull(capability, "capability");
        return execute(() -> CapabilityRequests.current(capability));
    }

    /**
     * Sets a capability to one value, sent as the capability's item type.
     *
     * @param capability a capability whose item type is known
     * @param value the value, of the item type's Java type (see {@link ItemType})
     * @return true when the source took the value as given, false when it took another one (its
     *     nearest, say), which {@link #current} tells
     * @throws IllegalArgumentException if the value is not of the item type, or the capability's
     *     item type is not known
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source refuses
     */
    public boolean set(Capability capability, Object value) throws TwainException {
        if (capability.itemType() == null) {
            throw new IllegalArgumentException(
                    "the item type of " + capability + " is not known: name it with Capability.custom");
        }
        return set(capability, CapabilityValue.oneValue(capability.itemType(), value));
    }

    /**
     * Sets a capability with a container of the caller's: one value, or the values to allow as an
     * enumeration or an array.
     *
     * @param capability the capability
     * @param value the container
     * @return true when the source took it as given, false when it took other values
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source refuses
     */
    public boolean set(Capability capability, CapabilityValue value) throws TwainException {
        Objects.requireNonNull(capability, "capability");
        Objects.requireNonNull(value, "value");
        boolean exact = execute(() -> CapabilityRequests.set(capability, value));
        LOG.fine("set " + capability + " to " + value + (exact ? "" : ", which the source changed"));
        return exact;
    }

    /**
     * Puts a capability back to its default, and lifts any limit set on its values (MSG_RESET).
     *
     * @param capability the capability
     * @return the container with the value it has now
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source refuses
     */
    public CapabilityValue reset(Capability capability) throws TwainException {
        Objects.requireNonNull(capability, "capability");
        return execute(() -> CapabilityRequests.reset(capability));
    }

    /**
     * How the scans that start from now on take their pages from the source (see {@link
     * TransferMode}); {@link TransferMode#AUTOMATIC} unless told otherwise. Nothing is sent: the
     * mechanism is set on the source when a scan starts, and a source that refuses it fails the
     * scan's first page. A session in a bridge process (see {@link #isBridged}) takes its pages
     * by native transfer: {@link TransferMode#AUTOMATIC} does so there, and a scan asked for
     * {@link TransferMode#MEMORY} or {@link TransferMode#FILE} fails before its first page.
     *
     * @param mode the transfer mode
     */
    public void setTransferMode(TransferMode mode) {
        transferMode = Objects.requireNonNull(mode, "mode");
        LOG.fine(() -> "transfer mode " + mode);
    }

    /**
     * The transfer mode of the scans to come.
     *
     * @return the mode set last, {@link TransferMode#AUTOMATIC} at first
     */
    public TransferMode transferMode() {
        return transferMode;
    }

    /**
     * Sets whether the source compresses its pages (ICAP_COMPRESSION). A compressed page comes by
     * memory or file transfer and is kept as it came ({@link Page#encoded()}).
     *
     * @param compression the compression
     * @return the compression the source uses now, read back from it
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source does not offer the compression ({@link
     *     FailureKind#VALUE_REFUSED} or {@link FailureKind#CAPABILITY_UNSUPPORTED})
     */
    public Compression setCompression(Compression compression) throws TwainException {
        Objects.requireNonNull(compression, "compression");
        return execute(() -> {
            setting("setting the compression to " + compression,
                    () -> SessionPort.current().setCapability(Capability.ICAP_COMPRESSION.id(),
                            CapabilityValue.oneValue(ItemType.UINT16, compression.code())
                                    .toRecord()));
            return compression();
        });
    }

    /**
     * The compression the source uses now.
     *
     * @return the compression; {@link Compression#NONE} for a source that has no ICAP_COMPRESSION
     * @throws IllegalStateException if no source is open
     * @throws TwainException if the source reports a compression this binding does not keep
     */
    public Compression compression() throws TwainException {
        return execute(() -> {
            String step = "reading the compression";
            SessionStates.requireSource(step);
            Object current;
            try {
                current = CapabilityRequests.current(Capability.ICAP_COMPRESSION).current();
            } catch (TwainException e) {
                if (e.kind() == FailureKind.CAPABILITY_UNSUPPORTED) {
                    return Compression.NONE;
                }
                throw e;
            }
            for (Compression compression : Compression.values()) {
                if (current instanceof Number
                        && ((Number) current).intValue() == compression.code()) {
                    return compression;
                }
            }
            throw TwainException.inLibrary(step, "the source reports " + Items.describe(current)
                    + ", which is not a compression this binding keeps", FailureKind.OTHER, null);
        });
    }

    /**
     * Whether the source shows its own dialog when a scan starts. It does unless told otherwise.
     *
     * @param show true to show it
     * @throws CancellationException if the thread is interrupted while it waits for the session
     */
    public void setShowUserInterface(boolean show) {
        executeUnchecked(() -> SessionPort.current().setVisible(show));
    }

    /**
     * Runs {@code getter}, any read of {@link TwainEx}, on the session's thread: the way to the
     * capabilities that have no method here. For example {@code session.call(TwainEx::getContrast)}.
     *
     * @param <T> the value's type
     * @param getter the read
     * @return its value
     * @throws CancellationException if the thread is interrupted while it waits for the session
     */
    public <T> T call(Supplier<T> getter) {
        Objects.requireNonNull(getter, "getter");
        requireInProcess("call");
        return executeUnchecked(getter::get);
    }

    /**
     * Runs {@code step}, any step of {@link TwainEx} that answers whether it succeeded, on the
     * session's thread, and throws when it did not. For example {@code session.perform("setting the
     * contrast", () -> TwainEx.setContrast(20))}.
     *
     * @param step what the step does, for the message of its failure
     * @param action the step
     * @throws TwainException if the step answered false; when the library refused the call (one
     *     that a thread of the action's made, say), the message says why
     */
    public void perform(String step, BooleanSupplier action) throws TwainException {
        Objects.requireNonNull(step, "step");
        Objects.requireNonNull(action, "action");
        requireInProcess("perform");
        step(step, action);
    }

    /**
     * Whether the session runs in a bridge process: isolated, or with a source of the 32-bit
     * manager open in a 64-bit VM on Windows.
     *
     * @return true while its calls go to a bridge
     */
    public boolean isBridged() {
        RoutedPort route = port;
        return route != null && route.bridged();
    }

    private void requireInProcess(String method) {
        if (isBridged()) {
            throw new UnsupportedOperationException(method + " runs TwainEx, the session of this "
                    + "process, but this session runs in a bridge process: reach its capabilities "
                    + "with current, set and reset");
        }
    }

    private void step(String step, BooleanSupplier action) throws TwainException {
        execute(() -> {
            TwainException.check(action.getAsBoolean(), step);
            return null;
        });
    }

    // Scanning

    /**
     * Scans up to {@code maxPages} pages from wherever the source takes them, one enable per page;
     * when the document feeder is on, the scan also ends when it runs out of paper. The pages are
     * kept in the result.
     *
     * @param maxPages how many pages at most, from 1
     * @return how the scan ended, with its pages, also when a later page failed
     * @throws IllegalStateException if no source is open, or the source is already enabled
     */
    public ScanResult scan(int maxPages) {
        return scan(maxPages, false, null);
    }

    /**
     * Like {@link #scan(int)}, handing each page to {@code listener} as it arrives instead of
     * keeping it.
     *
     * @param maxPages how many pages at most, from 1
     * @param listener takes the pages; called on this thread
     * @return how the scan ended; its page list is empty
     * @throws IllegalStateException if no source is open, or the source is already enabled
     */
    public ScanResult scan(int maxPages, PageListener listener) {
        return scan(maxPages, false, Objects.requireNonNull(listener, "listener"));
    }

    /**
     * Scans the document feeder: turns it on, then scans one page per enable, each with a transfer
     * count of 1, until it runs out of paper. No sheet that the feeder takes in is lost.
     *
     * @return how the scan ended, with its pages, also when a later page failed
     * @throws IllegalStateException if no source is open, or the source is already enabled
     */
    public ScanResult scanFeeder() {
        return scan(Integer.MAX_VALUE, true, null);
    }

    /**
     * Scans the document feeder as {@link #scanFeeder()} does, up to {@code maxPages} pages.
     *
     * @param maxPages how many pages at most, from 1
     * @return how the scan ended, with its pages
     * @throws IllegalStateException if no source is open, or the source is already enabled
     */
    public ScanResult scanFeeder(int maxPages) {
        return scan(maxPages, true, null);
    }

    /**
     * Scans the document feeder as {@link #scanFeeder()} does, up to {@code maxPages} pages,
     * handing each page to {@code listener} as it arrives.
     *
     * @param maxPages how many pages at most, from 1
     * @param listener takes the pages; called on this thread
     * @return how the scan ended; its page list is empty
     * @throws IllegalStateException if no source is open, or the source is already enabled
     */
    public ScanResult scanFeeder(int maxPages, PageListener listener) {
        return scan(maxPages, true, Objects.requireNonNull(listener, "listener"));
    }

    /**
     * Ends the scans that are running or waiting to run, from any thread: a scan waiting for a page
     * stops waiting at once, the session's thread disables the source, and each scan returns {@link
     * ScanResult.Outcome#CANCELLED} with the pages delivered before. The source is left open.
     *
     * @return whether there was a scan to cancel
     */
    public boolean cancel() {
        boolean any = false;
        for (ScanRun run : runs) {
            any = true;
            run.cancel();
        }
        if (any) {
            LOG.fine("cancelling the scans");
        }
        return any;
    }

    /**
     * Tears the session down from whatever state it is in, from any thread: cancels the scans,
     * refuses the calls still queued, closes the source and the source manager, and ends the
     * session's thread. Returns once that is done, except when called on the session's own thread
     * (from {@link PageListener#rowsScanned}), where the teardown follows the current call. Calling
     * it again does nothing.
     */
    @Override
    public void close() {
        if (closing.compareAndSet(false, true)) {
            LOG.fine("closing the session");
            cancel();
            RoutedPort route = port;
            if (route != null) {
                route.closing();
            }
            thread.finish(() -> {
                try {
                    RoutedPort routed = port;
                    if (routed != null) {
                        routed.unregister();
                        LOG.fine(() -> "closed the session, state " + routed.state());
                    }
                } finally {
                    synchronized (ScanSession.class) {
                        if (current == this) {
                            current = null;
                        }
                    }
                    closed.countDown();
                }
            });
        }
        if (!thread.isCurrent()) {
            try {
                closed.await();
            } catch (InterruptedException e) {
                // The teardown goes on without this thread.
                Thread.currentThread().interrupt();
            }
        }
    }

    // Inside.

    private ScanResult scan(int maxPages, boolean turnFeederOn, PageListener listener) {
        if (maxPages < 1) {
            throw new IllegalArgumentException("a scan needs at least one page, not " + maxPages);
        }
        if (thread.isCurrent() || ScanRun.listening() != null) {
            throw new IllegalStateException("a scan cannot start inside the callback of a scan");
        }
        ScanRun run = new ScanRun(maxPages, turnFeederOn, listener, transferMode, port);
        runs.add(run);
        try {
            Future<Void> queued = thread.submit(() -> {
                // A scan queued while the session was closing is cancelled like the others.
                if (closing.get()) {
                    run.cancel();
                }
                run.execute();
                return null;
            });
            if (queued == null) {
                throw closedError();
            }
            return run.awaitResult();
        } finally {
            runs.remove(run);
            closeIfBridgeEnded();
        }
    }

    private <T> T execute(Task<T> task) throws TwainException {
        try {
            return runOnSessionThread(task);
        } catch (TwainException | IllegalStateException e) {
            LOG.log(Level.FINE, e.getMessage(), e);
            Trace.failure(e.getMessage());
            throw e;
        } catch (BridgeEnded e) {
            closeIfBridgeEnded();
            throw e.failure();
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            throw TwainException.inLibrary(
                    "waiting for the scan session", INTERRUPTED, FailureKind.CANCELLED, e);
        }
    }

    /** Runs a task that cannot fail with a TwainException. */
    private <T> T executeUnchecked(Supplier<T> task) {
        try {
            return runOnSessionThread(task::get);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            throw new CancellationException("waiting for the scan session: " + INTERRUPTED);
        } catch (TwainException e) {
            throw new IllegalStateException(e); // no such task throws one
        } catch (BridgeEnded e) {
            closeIfBridgeEnded();
            throw new IllegalStateException(e.getMessage(), e.failure());
        }
    }

    /** A session whose bridge is gone is closed: its source and manager went with the process. */
    private void closeIfBridgeEnded() {
        RoutedPort route = port;
        TwainException ended = route != null ? route.bridgeEnded() : null;
        if (ended != null) {
            LOG.log(Level.FINE, "the session's bridge ended", ended);
            Trace.failure("the session's bridge ended: " + ended.getMessage());
            close();
        }
    }

    private <T> T runOnSessionThread(Task<T> task) throws TwainException, InterruptedException {
        if (thread.isCurrent()) {
            requireOpen();
            return task.run();
        }
        Callable<T> call = () -> {
            requireOpen();
            return task.run();
        };
        ScanRun scan = ScanRun.listening();
        if (scan != null) {
            FutureTask<T> forListener = new FutureTask<>(call);
            if (scan.runForListener(forListener)) {
                return await(forListener);
            }
        }
        Future<T> result = thread.submit(call);
        if (result == null) {
            throw closedError();
        }
        return await(result);
    }

    /**
     * The task's result once it has run, or its failure. An interrupt cancels the task if it has
     * not started.
     */
    private static <T> T await(Future<T> result) throws TwainException, InterruptedException {
        try {
            return result.get();
        } catch (InterruptedException e) {
            result.cancel(false);
            throw e;
        } catch (ExecutionException e) {
            Throwable cause = e.getCause();
            if (cause instanceof TwainException) {
                throw (TwainException) cause;
            }
            if (cause instanceof Error) {
                throw (Error) cause;
            }
            throw (RuntimeException) cause;
        }
    }

    private void requireOpen() {
        if (closing.get()) {
            throw closedError();
        }
    }

    private IllegalStateException closedError() {
        RoutedPort route = port;
        TwainException ended = route != null ? route.bridgeEnded() : null;
        if (ended != null) {
            return new IllegalStateException("the scan session is closed: " + ended.getMessage(),
                    ended);
        }
        return new IllegalStateException("the scan session is closed");
    }

    /** A setting: fails with the step when no source is open or the source refuses. */
    private void setting(String step, BooleanSupplier setter) throws TwainException {
        execute(() -> {
            SessionStates.requireSource(step);
            TwainException.check(setter.getAsBoolean(), step);
            return null;
        });
        LOG.fine(step);
    }

    private boolean setFlag(Capability capability, boolean on, String step)
            throws TwainException {
        return execute(() -> {
            setting(step, () -> SessionPort.current().setCapability(capability.id(),
                    CapabilityValue.oneValue(ItemType.BOOL, on).toRecord()));
            return flag(capability);
        });
    }

    private boolean flag(Capability capability) throws TwainException {
        return execute(() -> {
            Object value = CapabilityRequests.current(capability).current();
            if (value instanceof Boolean) {
                return (Boolean) value;
            }
            if (value instanceof Number) {
                return ((Number) value).longValue() != 0;
            }
            throw TwainException.inLibrary("reading " + capability,
                    "the source reports " + Items.describe(value) + ", no flag", FailureKind.OTHER,
                    null);
        });
    }

    private void setUnits(Units units) throws TwainException {
        setting("setting the units to " + units.name().toLowerCase(Locale.ROOT),
                () -> SessionPort.current().setCurrentUnits(units.code()));
    }

    /**
     * A read of a capability. A getter answers a default when the source gives no value; a failed
     * request shows in the result code.
     */
    private static <T> T reading(String step, Supplier<T> getter) throws TwainException {
        SessionStates.requireSource(step);
        T value = getter.get();
        if (!TwainCodes.isSuccess(SessionPort.current().resultCode())) {
            throw TwainException.atStep(step);
        }
        return value;
    }

    private static double dotsPerInch(String step, double perUnit) throws TwainException {
        Units units = Units.fromCode(reading(step, () -> SessionPort.current().getCurrentUnits()));
        return units != null ? perUnit * units.perInch() : 0;
    }
}
