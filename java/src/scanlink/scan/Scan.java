package scanlink.scan;

import QZ.korvel.twain.TwainEx;
import java.awt.image.BufferedImage;
import java.io.IOException;
import java.nio.file.Path;
import javax.imageio.ImageIO;

/**
 * Scans pages with the default TWAIN source and writes them as PNG files.
 *
 * <p>Each page gets an enable of its own: the library discards the transfers still pending after
 * the page it delivers, so a feeder is asked for one page at a time and none that it took is lost.
 */
public final class Scan {
    /** A step that failed; the message names it and the TWAIN codes it left behind. */
    static final class ScanException extends Exception {
        ScanException(String message) {
            super(message);
        }
    }

    private Scan() {}

    public static void main(String[] args) {
        ScanOptions options;
        try {
            options = ScanOptions.parse(args);
        } catch (ScanOptions.UsageException e) {
            if (args.length == 1 && args[0].equals("--help")) {
                System.out.println(ScanOptions.USAGE);
                return;
            }
            System.err.println("scan: " + e.getMessage());
            System.err.println(ScanOptions.USAGE);
            System.exit(2);
            return;
        }
        try {
            int scanned = run(options);
            System.out.println("Scanned " + scanned + (scanned == 1 ? " page." : " pages."));
        } catch (ScanException | IOException e) {
            System.err.println("scan: " + e.getMessage());
            System.exit(1);
        } finally {
            TwainEx.unregister();
        }
    }

    /** Runs the whole scan; the number of pages written. The session is left to the caller. */
    static int run(ScanOptions options) throws ScanException, IOException {
        step(TwainEx.register(1, 0, "scanlink32", "Examples", "Scan to PNG"),
                "opening the TWAIN source manager");
        step(TwainEx.openSource(), "opening the default source");
        applySettings(options);
        TwainEx.setVisible(options.showUi);
        int scanned = 0;
        while (scanned < options.pages) {
            if (options.feeder && !TwainEx.isFeederLoaded()) {
                if (scanned == 0) {
                    throw new ScanException("the document feeder is empty");
                }
                System.out.println("The feeder is empty.");
                break;
            }
            BufferedImage page = scanPage(options.feeder);
            Path file = options.pageFile(scanned + 1);
            if (!ImageIO.write(page, "png", file.toFile())) {
                throw new IOException("no PNG writer is available");
            }
            scanned++;
            System.out.printf("Page %d: %d x %d pixels, written to %s%n", scanned,
                    page.getWidth(), page.getHeight(), file);
        }
        step(TwainEx.closeSource(), "closing the source");
        return scanned;
    }

    private static void applySettings(ScanOptions options) throws ScanException {
        if (options.pixelType != null) {
            step(TwainEx.setPixelType(options.pixelType), "setting the pixel type");
        }
        if (options.resolution != null) {
            step(TwainEx.setXResolution(options.resolution), "setting the horizontal resolution");
            step(TwainEx.setYResolution(options.resolution), "setting the vertical resolution");
        }
        if (options.frame != null) {
            double[] f = options.frame;
            step(TwainEx.setFrame(f[0], f[1], f[2], f[3]), "setting the scan frame");
        }
        if (options.feeder) {
            step(TwainEx.setFeederEnabled(true), "enabling the document feeder");
        }
    }

    private static BufferedImage scanPage(boolean feeder) throws ScanException {
        if (feeder) {
            step(TwainEx.setTransferCount(1), "asking the feeder for one page");
        }
        step(TwainEx.prepareTransfer(), "enabling the source");
        ImageBuilder builder = new ImageBuilder();
        boolean delivered;
        try {
            delivered = TwainEx.acquireImage(builder);
        } catch (Exception e) {
            throw new ScanException("the page could not be read: " + e.getMessage());
        }
        step(delivered && builder.image() != null, "acquiring the page");
        step(TwainEx.stopTransfer(), "disabling the source");
        return builder.image();
    }

    private static void step(boolean succeeded, String what) throws ScanException {
        if (!succeeded) {
            throw new ScanException(what + " failed (" + TwainCodes.describe(
                    TwainEx.getResultCode(), TwainEx.getConditionCode()) + ", state "
                    + TwainEx.getState() + ")");
        }
    }
}
