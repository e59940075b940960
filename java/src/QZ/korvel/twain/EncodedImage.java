package QZ.korvel.twain;

import java.util.Arrays;
import java.util.Objects;

/**
 * A page as the source encoded it: a JPEG stream, CCITT Group 4 data or a TIFF file, kept as it
 * came so that a document can carry it without decoding and encoding it again (the binding's
 * {@link QZ.korvel.twain.documents.PdfDocument} embeds JPEG and Group 4 pages as they are).
 */
public final class EncodedImage {
    /** How the bytes are encoded. */
    public enum Format {
        /** A JPEG (JFIF) stream. */
        JPEG(1),
        /**
         * CCITT Group 4 (T.6) data without any header or file around it, as a memory transfer
         * gives it: the page's width and height say how to read it, and a 0 bit is white.
         */
        GROUP4(2),
        /** A TIFF file, as a file transfer writes it. */
        TIFF(3);

        private final int code;

        Format(int code) {
            this.code = code;
        }

        static Format fromCode(int code) {
            for (Format format : values()) {
                if (format.code == code) {
                    return format;
                }
            }
            throw new IllegalArgumentException("no encoded format has the code " + code);
        }
    }

    private final Format format;
    private final byte[] bytes;
    private final int width;
    private final int height;

    /**
     * An encoded page.
     *
     * @param format its format
     * @param bytes its bytes, which the image keeps (not a copy)
     * @param width its width in pixels, or 0 when only the encoding says it
     * @param height its height in pixels, or 0 when only the encoding says it
     */
    public EncodedImage(Format format, byte[] bytes, int width, int height) {
        this.format = Objects.requireNonNull(format, "format");
        this.bytes = Objects.requireNonNull(bytes, "bytes");
        this.width = width;
        this.height = height;
    }

    /**
     * The format of the bytes.
     *
     * @return the format
     */
    public Format format() {
        return format;
    }

    /**
     * The encoded bytes.
     *
     * @return a copy of them
     */
    public byte[] bytes() {
        return bytes.clone();
    }

    /**
     * How many bytes the page takes.
     *
     * @return the length of {@link #bytes()}
     */
    public int length() {
        return bytes.length;
    }

    /**
     * The page's width, as the source told it.
     *
     * @return pixels, or 0 when only the encoding says it
     */
    public int width() {
        return width;
    }

    /**
     * The page's height, as the source told it.
     *
     * @return pixels, or 0 when only the encoding says it
     */
    public int height() {
        return height;
    }

    /** The bytes themselves, for the binding's own readers and writers, which do not change them. */
    byte[] sharedBytes() {
        return bytes;
    }

    @Override
    public String toString() {
        return format + " image, " + bytes.length + " bytes"
                + (width > 0 ? ", " + width + " x " + height + " pixels" : "")
                + ", starting " + Arrays.toString(Arrays.copyOf(bytes, Math.min(4, bytes.length)));
    }
}
