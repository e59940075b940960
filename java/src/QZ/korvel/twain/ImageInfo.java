package QZ.korvel.twain;

import java.util.Arrays;

/** What a source tells of a page before or while it transfers it (DAT_IMAGEINFO). */
public final class ImageInfo {
    private final double xResolution;
    private final double yResolution;
    private final long width;
    private final long length;
    private final int samplesPerPixel;
    private final int[] bitsPerSample;
    private final int bitsPerPixel;
    private final boolean planar;
    private final int pixelType;
    private final int compression;

    private ImageInfo(NativeRecord.Reader record) {
        xResolution = Items.fromFix32(record.u32());
        yResolution = Items.fromFix32(record.u32());
        width = (int) record.u32();
        length = (int) record.u32();
        samplesPerPixel = (short) record.u16();
        bitsPerSample = new int[8];
        for (int i = 0; i < bitsPerSample.length; i++) {
            bitsPerSample[i] = (short) record.u16();
        }
        bitsPerPixel = (short) record.u16();
        planar = record.u16() != 0;
        pixelType = (short) record.u16();
        compression = record.u16();
    }

    static ImageInfo read(NativeRecord.Reader record) {
        return new ImageInfo(record);
    }

    /**
     * XResolution, in pixels per unit of ICAP_UNITS.
     *
     * @return the resolution across
     */
    public double xResolution() {
        return xResolution;
    }

    /**
     * YResolution, in pixels per unit of ICAP_UNITS.
     *
     * @return the resolution down
     */
    public double yResolution() {
        return yResolution;
    }

    /**
     * ImageWidth, in pixels; -1 when the source does not know it before the transfer.
     *
     * @return the width
     */
    public long width() {
        return width;
    }

    /**
     * ImageLength, in rows; -1 when the source does not know it before the transfer.
     *
     * @return the length
     */
    public long length() {
        return length;
    }

    /**
     * SamplesPerPixel: 1 for black and white, gray and palettes, 3 for RGB.
     *
     * @return the count
     */
    public int samplesPerPixel() {
        return samplesPerPixel;
    }

    /**
     * BitsPerSample, the eight fields as the source filled them.
     *
     * @return a copy of the fields
     */
    public int[] bitsPerSample() {
        return bitsPerSample.clone();
    }

    /**
     * BitsPerPixel.
     *
     * @return the bits of one pixel
     */
    public int bitsPerPixel() {
        return bitsPerPixel;
    }

    /**
     * Planar: whether the samples come in planes rather than chunky.
     *
     * @return the flag
     */
    public boolean planar() {
        return planar;
    }

    /**
     * PixelType, a TWPT_ code ({@link PixelType#code()} for the common ones).
     *
     * @return the code
     */
    public int pixelType() {
        return pixelType;
    }

    /**
     * Compression, a TWCP_ code; 0 for none.
     *
     * @return the code
     */
    public int compression() {
        return compression;
    }

    /** The fields as the trace writes them, such as "ImageWidth 850 ImageLength 1100 ...". */
    @Override
    public String toString() {
        return "XResolution " + Items.describe(xResolution) + " YResolution "
                + Items.describe(yResolution) + " ImageWidth " + width + " ImageLength " + length
                + " SamplesPerPixel " + samplesPerPixel + " BitsPerSample "
                + Arrays.toString(Arrays.copyOf(bitsPerSample, Math.min(Math.max(samplesPerPixel, 1), 8)))
                + " BitsPerPixel " + bitsPerPixel + " Planar " + planar + " PixelType "
                + pixelType + " Compression " + compression;
    }
}
