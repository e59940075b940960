package QZ.korvel.twain;

import java.nio.charset.Charset;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.UUID;

/**
 * The transfer mechanism a scan takes its pages by, chosen when the scan starts and set on the
 * source (ICAP_XFERMECH) before each page's enable, and the file each page of a file transfer is
 * written to.
 */
final class TransferChoice {
    private static final int TWSX_NATIVE = 0;
    private static final int TWSX_FILE = 1;
    private static final int TWSX_MEMORY = 2;
    private static final int TWFF_TIFF = 0;
    private static final int TWFF_BMP = 2;
    private static final int TWFF_JFIF = 4;

    private final TransferMode mode;
    private final int mechanism;
    private final int fileFormat;
    private final boolean bridged;
    private int onSource = -1;

    private TransferChoice(TransferMode mode, int mechanism, int fileFormat, boolean bridged) {
        this.mode = mode;
        this.mechanism = mechanism;
        this.fileFormat = fileFormat;
        this.bridged = bridged;
    }

    /**
     * In state 4: memory transfer when the mode asks for it or the source offers it. A session in a
     * bridge process takes its pages natively, the one way its channel carries them; asked for
     * another, the scan fails before it starts rather than scan in a way it was not asked to.
     */
    static TransferChoice choose(TransferMode mode, boolean bridged) throws TwainException {
        if (bridged) {
            if (mode == TransferMode.MEMORY || mode == TransferMode.FILE) {
                throw TwainException.inLibrary("starting the scan", "a session in a bridge "
                        + "process takes its pages by native transfer only, not by "
                        + mode.name().toLowerCase(java.util.Locale.ROOT) + " transfer",
                        FailureKind.OTHER, null);
            }
            return new TransferChoice(mode, PageTransfers.NATIVE, TWFF_BMP, true);
        }
        switch (mode) {
            case NATIVE:
                return new TransferChoice(mode, PageTransfers.NATIVE, TWFF_BMP, false);
            case MEMORY:
                return new TransferChoice(mode, PageTransfers.MEMORY, TWFF_BMP, false);
            case FILE:
                return new TransferChoice(mode, PageTransfers.FILE, fileFormat(), false);
            default:
                return new TransferChoice(mode,
                        offersMemory() ? PageTransfers.MEMORY : PageTransfers.NATIVE, TWFF_BMP,
                        false);
        }
    }

    /** The mechanism of the scan's pages. */
    int mechanism() {
        return mechanism;
    }

    /** Whether a page whose memory transfer failed before its first strip is taken natively. */
    boolean fallsBack() {
        return mode == TransferMode.AUTOMATIC;
    }

    /** How a page taken by {@code mechanism} came. */
    static TransferMode modeOf(int mechanism) {
        return mechanism == PageTransfers.MEMORY ? TransferMode.MEMORY
                : mechanism == PageTransfers.FILE ? TransferMode.FILE : TransferMode.NATIVE;
    }

    /**
     * In state 4, before the enable: the source transfers the next page by {@code mechanism}. A
     * source that does not have ICAP_XFERMECH transfers natively anyway.
     */
    void set(int mechanism) throws TwainException {
        int value = mechanism == PageTransfers.MEMORY ? TWSX_MEMORY
                : mechanism == PageTransfers.FILE ? TWSX_FILE : TWSX_NATIVE;
        if (value == onSource) {
            return;
        }
        String step = "setting the transfer mechanism to " + modeOf(mechanism).name().toLowerCase(
                java.util.Locale.ROOT);
        boolean taken = SessionPort.current().setCapability(Capability.ICAP_XFERMECH.id(),
                CapabilityValue.oneValue(ItemType.UINT16, value).toRecord());
        if (!taken && value != TWSX_NATIVE) {
            throw TwainException.atStep(step);
        }
        onSource = taken ? value : -1;
    }

    /**
     * After the scan, in state 4: the source transfers natively again, as the raw natives expect
     * it to; a source that refuses stays as it is.
     */
    void restoreNative() {
        if (onSource > TWSX_NATIVE && SessionPort.current().state() == 4) {
            SessionPort.current().setCapability(Capability.ICAP_XFERMECH.id(),
                    CapabilityValue.oneValue(ItemType.UINT16, TWSX_NATIVE).toRecord());
            onSource = TWSX_NATIVE;
        }
    }

    /** Takes the page that comes next by {@code mechanism} into {@code builder}. */
    int acquire(PageBuilder builder, int mechanism) throws Exception {
        if (bridged) {
            return SessionPort.current().acquireImage(builder.consumer()) ? PageTransfers.PAGE
                                                                          : PageTransfers.NO_PAGE;
        }
        if (mechanism != PageTransfers.FILE) {
            return PageTransfers.acquire(builder, mechanism, null, 0);
        }
        Path file = transferFile();
        try {
            return PageTransfers.acquire(builder, mechanism, file.toString(), fileFormat);
        } finally {
            Files.deleteIfExists(file);
        }
    }

    private Path transferFile() throws TwainException {
        Path folder = CacheFolder.prepareTransfers(System.getProperty("os.name", ""));
        String extension = fileFormat == TWFF_JFIF ? ".jpg" : fileFormat == TWFF_TIFF ? ".tif"
                                                                                     : ".bmp";
        Path file = folder.resolve("page-" + UUID.randomUUID() + extension);
        String encoding = System.getProperty("sun.jnu.encoding");
        if (encoding != null && Charset.isSupported(encoding)
                && !Charset.forName(encoding).newEncoder().canEncode(file.toString())) {
            throw TwainException.inLibrary("naming the transfer file", "the folder " + folder
                    + " cannot be named in the system's code page, " + encoding,
                    FailureKind.OTHER, null);
        }
        return file;
    }

    private static boolean offersMemory() {
        try {
            for (Object value : CapabilityRequests.supported(Capability.ICAP_XFERMECH).values()) {
                if (value instanceof Number && ((Number) value).intValue() == TWSX_MEMORY) {
                    return true;
                }
            }
        } catch (TwainException e) {
            // A source that does not tell its mechanisms transfers natively.
        }
        return false;
    }

    /** The file format that the compression the source is set to goes into. */
    private static int fileFormat() {
        try {
            Object current = CapabilityRequests.current(Capability.ICAP_COMPRESSION).current();
            int code = current instanceof Number ? ((Number) current).intValue() : 0;
            return code == Compression.JPEG.code() ? TWFF_JFIF
                    : code == Compression.GROUP4.code() ? TWFF_TIFF : TWFF_BMP;
        } catch (TwainException e) {
            return TWFF_BMP; // a source without ICAP_COMPRESSION does not compress
        }
    }
}
