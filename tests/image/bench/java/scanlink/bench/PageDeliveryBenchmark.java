package scanlink.bench;

import QZ.korvel.twain.BufferedImageConsumer;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.Trace;
import QZ.korvel.twain.TwainEx;
import java.awt.image.BufferedImage;
import java.awt.image.ColorModel;
import java.awt.image.DataBuffer;
import java.awt.image.DataBufferInt;
import java.awt.image.ImageConsumer;
import java.io.File;
import java.io.IOException;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.Hashtable;
import java.util.List;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import javax.imageio.ImageIO;
import scanlink.virtualscanner.VirtualScanner;

/**
 * An A4 page at 600 dpi in 24-bit colour, from a page file of the virtual scanner, delivered into
 * the binding's BufferedImageConsumer, against a pure-Java loop that decodes the same BMP bytes
 * into an int raster and against ImageIO.read of the same file, in one run. The first run of each
 * is the cold figure; the median of the others, the warm one. Then the memory of a 1-bit page in
 * the consumer against an int raster of the same size. Last, the same page taken by {@link
 * ScanSession}, whose rows go straight into the page's raster: its delivery (from the raster's
 * making to the completed image) as the library's trace times it, and the whole scan of the page.
 *
 * <p>Usage: PageDeliveryBenchmark [runs (default 10)]
 */
public final class PageDeliveryBenchmark {
    static final int WIDTH = 4960;
    static final int HEIGHT = 7016;

    private PageDeliveryBenchmark() {}

    /** Times the delivery itself, from the dimensions to the completed image. */
    static final class TimedConsumer implements ImageConsumer {
        final BufferedImageConsumer inner = new BufferedImageConsumer();
        long start;
        long end;

        @Override
        public void setDimensions(int width, int height) {
            start = System.nanoTime();
            inner.setDimensions(width, height);
        }

        @Override
        public void setProperties(Hashtable<?, ?> props) {
            inner.setProperties(props);
        }

        @Override
        public void setColorModel(ColorModel model) {
            inner.setColorModel(model);
        }

        @Override
        public void setHints(int hints) {
            inner.setHints(hints);
        }

        @Override
        public void setPixels(int x, int y, int w, int h, ColorModel model, byte[] pixels,
                int off, int scansize) {
            inner.setPixels(x, y, w, h, model, pixels, off, scansize);
        }

        @Override
        public void setPixels(int x, int y, int w, int h, ColorModel model, int[] pixels, int off,
                int scansize) {
            inner.setPixels(x, y, w, h, model, pixels, off, scansize);
        }

        @Override
        public void imageComplete(int status) {
            inner.imageComplete(status);
            end = System.nanoTime();
        }
    }

    public static void main(String[] args) throws Exception {
        int runs = args.length > 0 ? Integer.parseInt(args[0]) : 10;
        Path folder = Files.createTempDirectory("page-benchmark");
        try {
            Path colour = folder.resolve("a4-600dpi-rgb24.bmp");
            Files.write(colour, colourPage());
            Path oneBit = folder.resolve("a4-600dpi-bw.bmp");
            Files.write(oneBit, oneBitPage());
            run(colour, oneBit, runs);
        } finally {
            for (File file : folder.toFile().listFiles()) {
                Files.delete(file.toPath());
            }
            Files.delete(folder);
        }
    }

    static void run(Path colour, Path oneBit, int runs) throws Exception {
        byte[] bmp = Files.readAllBytes(colour);
        // The VM's first image costs the same whoever makes it; it is paid here, and told, so that
        // the cold figures are each contender's own.
        long awtStart = System.nanoTime();
        new BufferedImage(1, 1, BufferedImage.TYPE_INT_RGB).getRGB(0, 0);
        long awt = System.nanoTime() - awtStart;
        String pages = String.join(File.pathSeparator, Collections.nCopies(runs, colour.toString()));
        VirtualScanner.setPageFiles(pages + File.pathSeparator + oneBit);
        check(TwainEx.register(1, 0, "scanlink32", "Benchmarks", "Page delivery"), "register");
        check(TwainEx.openSource(), "openSource");
        TwainEx.setVisible(false);
        long[] consumer = new long[runs];
        long[] acquire = new long[runs];
        long[] loop = new long[runs];
        long[] imageIo = new long[runs];
        BufferedImage reference = null;
        for (int i = 0; i < runs; i++) {
            check(TwainEx.prepareTransfer(), "prepareTransfer");
            TimedConsumer timed = new TimedConsumer();
            long before = System.nanoTime();
            check(TwainEx.acquireImage(timed), "acquireImage");
            acquire[i] = System.nanoTime() - before;
            consumer[i] = timed.end - timed.start;
            check(TwainEx.stopTransfer(), "stopTransfer");

            before = System.nanoTime();
            BufferedImage decoded = javaLoop(bmp);
            loop[i] = System.nanoTime() - before;

            before = System.nanoTime();
            BufferedImage read = ImageIO.read(colour.toFile());
            imageIo[i] = System.nanoTime() - before;

            if (i == 0) {
                reference = timed.inner.image();
                sameRgb(reference, decoded, "the Java loop");
                sameRgb(reference, read, "ImageIO");
            }
        }
        check(TwainEx.prepareTransfer(), "prepareTransfer");
        BufferedImageConsumer bw = new BufferedImageConsumer();
        check(TwainEx.acquireImage(bw), "acquireImage");
        TwainEx.unregister();
        long[] raster = new long[runs];
        long[] scan = new long[runs];
        rasterDirect(colour, reference, raster, scan);

        System.out.printf("A4 page at 600 dpi, 24-bit colour, %d x %d pixels, %d runs in one VM%n",
                WIDTH, HEIGHT, runs);
        System.out.printf("%-58s %9s %9s%n", "", "warm ms", "cold ms");
        report("delivery into BufferedImageConsumer (dimensions to done)", consumer);
        report("pure-Java loop over the same BMP bytes into an int raster", loop);
        report("ImageIO.read of the same BMP file", imageIo);
        report("whole acquireImage (the virtual scanner reads the file)", acquire);
        System.out.printf("first BufferedImage of the VM, before all of these: %.1f ms%n", awt / 1e6);
        report("ScanSession: rows straight into the raster (traced)", raster);
        report("ScanSession: the whole scan of the page", scan);
        System.out.printf("consumer / loop, warm: %.2f; cold: %.2f%n",
                ratio(consumer, loop, true), ratio(consumer, loop, false));
        System.out.printf("raster / loop, warm: %.2f (target at most 0.8); cold: %.2f%n",
                ratio(raster, loop, true), ratio(raster, loop, false));
        System.out.printf("ImageIO / raster, warm: %.2f (target above 1); cold: %.2f%n",
                ratio(imageIo, raster, true), ratio(imageIo, raster, false));
        System.out.printf("raster cold / warm: %.2f (target at most 2)%n",
                raster[0] / warm(raster));
        DataBuffer buffer = bw.image().getRaster().getDataBuffer();
        long bytes = (long) buffer.getSize() * DataBuffer.getDataTypeSize(buffer.getDataType()) / 8;
        long intRaster = 4L * WIDTH * HEIGHT;
        System.out.printf("1-bit page in the consumer (image type %d): %,d bytes of pixels, against"
                + " %,d for an int raster: 1/%d%n", bw.image().getType(), bytes, intRaster,
                intRaster / bytes);
    }

    /**
     * Scans the page once per run through a {@link ScanSession}, timing each scan, and reads the
     * time of each delivery from the trace ("page delivered: ... in N ms").
     */
    static void rasterDirect(Path colour, BufferedImage reference, long[] delivery, long[] scan)
            throws Exception {
        int runs = scan.length;
        VirtualScanner.setPageFiles(
                String.join(File.pathSeparator, Collections.nCopies(runs, colour.toString())));
        Path trace = Files.createTempFile("page-benchmark", ".trace");
        try {
            check(Trace.start(trace.toString()), "starting the trace");
            try (ScanSession session = ScanSession.open("scanlink32", "Benchmarks", "Pages")) {
                session.openSource();
                session.setShowUserInterface(false);
                for (int i = 0; i < runs; i++) {
                    long before = System.nanoTime();
                    ScanResult result = session.scan(1);
                    scan[i] = System.nanoTime() - before;
                    if (result.pageCount() != 1) {
                        throw new IllegalStateException("ScanSession gave no page: "
                                + result.failure());
                    }
                    if (i == 0) {
                        sameRgb(reference, result.pages().get(0).image(), "ScanSession");
                    }
                }
            } finally {
                Trace.stop();
            }
            Matcher delivered = Pattern.compile("page delivered: .* in ([0-9.]+) ms")
                    .matcher(new String(Files.readAllBytes(trace), StandardCharsets.UTF_8));
            for (int i = 0; i < runs; i++) {
                check(delivered.find(), "finding delivery " + (i + 1) + " in the trace");
                delivery[i] = (long) (Double.parseDouble(delivered.group(1)) * 1e6);
            }
        } finally {
            Files.delete(trace);
        }
    }

    /** The BMP's rows, bottom-up, three bytes blue-green-red each, into a new int raster. */
    static BufferedImage javaLoop(byte[] bmp) {
        ByteBuffer header = ByteBuffer.wrap(bmp).order(ByteOrder.LITTLE_ENDIAN);
        int offset = header.getInt(10);
        int width = header.getInt(18);
        int height = header.getInt(22);
        int stride = (width * 3 + 3) & ~3;
        BufferedImage image = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        int[] pixels = ((DataBufferInt) image.getRaster().getDataBuffer()).getData();
        for (int y = 0; y < height; y++) {
            int source = offset + (height - 1 - y) * stride;
            int target = y * width;
            for (int x = 0; x < width; x++, source += 3) {
                pixels[target + x] = (bmp[source] & 0xFF) | (bmp[source + 1] & 0xFF) << 8
                        | (bmp[source + 2] & 0xFF) << 16;
            }
        }
        return image;
    }

    static byte[] colourPage() {
        int stride = (WIDTH * 3 + 3) & ~3;
        byte[] bmp = bmpHeader(24, stride * HEIGHT, 0);
        int seed = 12345;
        int at = 54;
        for (int y = 0; y < HEIGHT; y++) {
            for (int x = 0; x < WIDTH; x++) {
                seed = seed * 1103515245 + 12345;
                bmp[at + y * stride + 3 * x] = (byte) (x + (seed >>> 28));
                bmp[at + y * stride + 3 * x + 1] = (byte) (y + (seed >>> 24));
                bmp[at + y * stride + 3 * x + 2] = (byte) ((x ^ y) >> 3);
            }
        }
        return bmp;
    }

    static byte[] oneBitPage() {
        int stride = ((WIDTH + 31) / 32) * 4;
        byte[] bmp = bmpHeader(1, stride * HEIGHT, 2);
        int table = 54;
        Arrays.fill(bmp, table + 4, table + 7, (byte) 0xFF); // entry 1 white, entry 0 black
        for (int i = table + 8; i < bmp.length; i++) {
            bmp[i] = (byte) (i * 31 >> 3);
        }
        return bmp;
    }

    static byte[] bmpHeader(int bitCount, int pixelBytes, int colours) {
        int offset = 54 + 4 * colours;
        ByteBuffer b = ByteBuffer.allocate(offset + pixelBytes).order(ByteOrder.LITTLE_ENDIAN);
        b.put((byte) 'B').put((byte) 'M').putInt(offset + pixelBytes).putInt(0).putInt(offset);
        b.putInt(40).putInt(WIDTH).putInt(HEIGHT).putShort((short) 1).putShort((short) bitCount);
        b.putInt(0).putInt(pixelBytes).putInt(23622).putInt(23622).putInt(colours).putInt(0);
        return b.array();
    }

    static void sameRgb(BufferedImage expected, BufferedImage actual, String what) {
        for (int y = 0; y < HEIGHT; y += 97) {
            for (int x = 0; x < WIDTH; x += 13) {
                if ((expected.getRGB(x, y) ^ actual.getRGB(x, y)) << 8 != 0) {
                    throw new IllegalStateException(what + " differs at " + x + ", " + y);
                }
            }
        }
    }

    static void check(boolean done, String step) {
        if (!done) {
            throw new IllegalStateException(step + " failed: result code "
                    + TwainEx.getResultCode() + ", condition code " + TwainEx.getConditionCode());
        }
    }

    static void report(String what, long[] nanos) {
        System.out.printf("%-58s %9.1f %9.1f%n", what, warm(nanos) / 1e6, nanos[0] / 1e6);
    }

    static double warm(long[] nanos) {
        List<Long> rest = new ArrayList<>();
        for (int i = 1; i < nanos.length; i++) {
            rest.add(nanos[i]);
        }
        Collections.sort(rest);
        int n = rest.size();
        return n % 2 == 1 ? rest.get(n / 2) : (rest.get(n / 2 - 1) + rest.get(n / 2)) / 2.0;
    }

    static double ratio(long[] a, long[] b, boolean warm) {
        return warm ? warm(a) / warm(b) : (double) a[0] / b[0];
    }
}
