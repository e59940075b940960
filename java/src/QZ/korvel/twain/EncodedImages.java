package QZ.korvel.twain;

import java.awt.image.BufferedImage;
import java.io.ByteArrayInputStream;
import java.io.IOException;
import java.io.UncheckedIOException;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import javax.imageio.ImageIO;

/** Encoded pages decoded with {@code javax.imageio}, Group 4 data inside a TIFF file of its own. */
final class EncodedImages {
    private static final short TIFF_SHORT = 3;
    private static final short TIFF_LONG = 4;
    private static final int ENTRIES = 8;

    private EncodedImages() {}

    static BufferedImage decode(EncodedImage encoded) {
        byte[] bytes = encoded.format() == EncodedImage.Format.GROUP4 ? tiffOf(encoded)
                                                                        : encoded.sharedBytes();
        BufferedImage image;
        try {
            image = ImageIO.read(new ByteArrayInputStream(bytes));
        } catch (IOException e) {
            throw new UncheckedIOException("the " + encoded + " cannot be decoded: "
                    + e.getMessage(), e);
        }
        if (image == null) {
            throw new UnsupportedOperationException("this Java has no reader for the " + encoded
                    + (encoded.format() == EncodedImage.Format.JPEG ? ""
                            : "; javax.imageio reads TIFF from Java 9 on"));
        }
        return image;
    }

    /**
     * The data as the one strip of a TIFF file: width, length, one bit per sample, Group 4,
     * white is zero.
     */
    static byte[] tiffOf(EncodedImage encoded) {
        if (encoded.width() <= 0 || encoded.height() <= 0) {
            throw new UnsupportedOperationException("the " + encoded
                    + " cannot be decoded: the source did not tell its width and height");
        }
        byte[] data = encoded.sharedBytes();
        int ifdSize = 2 + ENTRIES * 12 + 4;
        int dataOffset = 8 + ifdSize;
        ByteBuffer tiff = ByteBuffer.allocate(dataOffset + data.length)
                .order(ByteOrder.LITTLE_ENDIAN);
        tiff.put((byte) 'I').put((byte) 'I').putShort((short) 42).putInt(8);
        tiff.putShort((short) ENTRIES);
        entry(tiff, 256, TIFF_LONG, encoded.width());        // ImageWidth
        entry(tiff, 257, TIFF_LONG, encoded.height());       // ImageLength
        entry(tiff, 258, TIFF_SHORT, 1);                     // BitsPerSample
        entry(tiff, 259, TIFF_SHORT, 4);                     // Compression: T.6
        entry(tiff, 262, TIFF_SHORT, 0);                     // WhiteIsZero
        entry(tiff, 273, TIFF_LONG, dataOffset);             // StripOffsets
        entry(tiff, 278, TIFF_LONG, encoded.height());       // RowsPerStrip
        entry(tiff, 279, TIFF_LONG, data.length);            // StripByteCounts
        tiff.putInt(0);
        tiff.put(data);
        return tiff.array();
    }

    private static void entry(ByteBuffer tiff, int tag, short type, int value) {
        tiff.putShort((short) tag).putShort(type).putInt(1);
        if (type == TIFF_SHORT) {
            tiff.putShort((short) value).putShort((short) 0);
        } else {
            tiff.putInt(value);
        }
    }
}
