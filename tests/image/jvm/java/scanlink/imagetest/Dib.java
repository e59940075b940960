package scanlink.imagetest;

import java.io.ByteArrayOutputStream;

/** A packed DIB assembled field by field: a 40-byte header, then masks, colors and stored rows. */
public final class Dib {
    public static final int BI_RGB = 0;
    public static final int BI_RLE8 = 1;
    public static final int BI_BITFIELDS = 3;

    private final ByteArrayOutputStream bytes = new ByteArrayOutputStream();

    private Dib() {}

    public static Dib header(int width, int height, int bitCount, int compression, int clrUsed) {
        return header(40, width, height, bitCount, compression, clrUsed);
    }

    public static Dib header(
        int biSize, int width, int height, int bitCount, int compression, int clrUsed) {
        Dib dib = new Dib();
        dib.u32(biSize).u32(width).u32(height).u16(1).u16(bitCount).u32(compression);
        dib.u32(0).u32(0).u32(0); // biSizeImage, biXPelsPerMeter, biYPelsPerMeter
        dib.u32(clrUsed).u32(0);
        return dib;
    }

    public Dib masks(int red, int green, int blue) {
        return u32(red).u32(green).u32(blue);
    }

    /** Color-table entries given as 0xRRGGBB, stored as blue, green, red, reserved. */
    public Dib colors(int... rgb) {
        for (int color : rgb) {
            bytes.write(color);
            bytes.write(color >> 8);
            bytes.write(color >> 16);
            bytes.write(0xEE);
        }
        return this;
    }

    /** One stored row: the given bytes, padded with zeros to whole 32-bit words. */
    public Dib row(int... stored) {
        for (int b : stored) {
            bytes.write(b);
        }
        for (int pad = (4 - stored.length % 4) % 4; pad > 0; pad--) {
            bytes.write(0);
        }
        return this;
    }

    public byte[] bytes() {
        return bytes.toByteArray();
    }

    private Dib u16(int value) {
        bytes.write(value);
        bytes.write(value >> 8);
        return this;
    }

    private Dib u32(int value) {
        return u16(value).u16(value >>> 16);
    }
}
