package QZ.korvel.twain;

import java.awt.image.ImageConsumer;
import java.nio.ByteBuffer;

/**
 * The library's page decoder for a page that a bridge process sent: the same code that delivers
 * a page taken in this process, so that both are the same pixel for pixel. Registered by the
 * library's load hook; no static initialiser (see {@link TraceNatives}).
 */
final class BridgePages {
    private BridgePages() {}

    /**
     * Decodes the packed DIB in the first {@code size} bytes of a direct buffer and drives the
     * consumer, as {@link TwainEx#acquireImage} does.
     *
     * @param dib the page, or null for an image the source's handle did not give
     * @param size its length in bytes
     * @param consumer takes the page
     * @return true once the consumer has the whole image
     */
    static native boolean deliver(ByteBuffer dib, long size, ImageConsumer consumer);
}
