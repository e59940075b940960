package scanlink.imagetest;

import java.awt.image.ColorModel;
import java.awt.image.ImageConsumer;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Hashtable;
import java.util.List;

/** An ImageConsumer that writes down every call and keeps a copy of every row it is given. */
public class RecordingConsumer implements ImageConsumer {
    public final List<String> calls = new ArrayList<>();
    public final List<Object> rowArrays = new ArrayList<>();
    public final List<Object> rows = new ArrayList<>();
    public ColorModel model;
    public ColorModel pixelModel;

    @Override
    public void setDimensions(int width, int height) {
        calls.add("setDimensions " + width + " " + height);
    }

    @Override
    public void setProperties(Hashtable<?, ?> props) {
        calls.add("setProperties");
    }

    @Override
    public void setColorModel(ColorModel model) {
        this.model = model;
        calls.add("setColorModel");
    }

    @Override
    public void setHints(int hints) {
        calls.add("setHints " + hints);
    }

    @Override
    public void setPixels(
        int x, int y, int w, int h, ColorModel model, byte[] pixels, int off, int scansize) {
        record("bytes", x, y, w, h, model, off, scansize);
        rowArrays.add(pixels);
        rows.add(Arrays.copyOf(pixels, pixels.length));
    }

    @Override
    public void setPixels(
        int x, int y, int w, int h, ColorModel model, int[] pixels, int off, int scansize) {
        record("ints", x, y, w, h, model, off, scansize);
        rowArrays.add(pixels);
        rows.add(Arrays.copyOf(pixels, pixels.length));
    }

    @Override
    public void imageComplete(int status) {
        calls.add("imageComplete " + status);
    }

    public byte[] byteRow(int index) {
        return (byte[]) rows.get(index);
    }

    public int[] intRow(int index) {
        return (int[]) rows.get(index);
    }

    private void record(
        String kind, int x, int y, int w, int h, ColorModel model, int off, int scansize) {
        pixelModel = model;
        calls.add(String.format(
            "setPixels %s x=%d y=%d w=%d h=%d off=%d scan=%d", kind, x, y, w, h, off, scansize));
    }
}
