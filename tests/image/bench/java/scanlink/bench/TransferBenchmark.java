package scanlink.bench;

import QZ.korvel.twain.Compression;
import QZ.korvel.twain.Page;
import QZ.korvel.twain.PixelType;
import QZ.korvel.twain.ScanResult;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.TransferMode;
import QZ.korvel.twain.documents.PdfDocument;
import java.awt.image.BufferedImage;
import java.io.BufferedReader;
import java.io.ByteArrayInputStream;
import java.io.File;
import java.io.IOException;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import javax.imageio.ImageIO;

/**
 * A letter page from the virtual scanner by memory transfer against native transfer, in colour,
 * gray and black and white: the wall time of the scan and the peak resident memory (VmHWM) of a
 * process of its own per scan, so that the modes do not share a peak; then a JPEG page written to
 * a PDF document as it came against decoding it and writing its pixels. Ratios from one run.
 *
 * <p>Usage: TransferBenchmark [dpi (default 600)] [processes per mode (default 3)]
 */
public final class TransferBenchmark {
    private static final PixelType[] TYPES = {PixelType.RGB, PixelType.GRAY, PixelType.BW};
    private static final TransferMode[] MODES = {TransferMode.NATIVE, TransferMode.MEMORY};

    private TransferBenchmark() {}

    public static void main(String[] args) throws Exception {
        if (args.length > 0 && args[0].equals("child")) {
            child(TransferMode.valueOf(args[1]), PixelType.valueOf(args[2]),
                    Double.parseDouble(args[3]));
            return;
        }
        double dpi = args.length > 0 ? Double.parseDouble(args[0]) : 600;
        int processes = args.length > 1 ? Integer.parseInt(args[1]) : 3;
        System.out.printf("A letter page at %.0f dpi from the virtual scanner, %d processes per mode"
                + "%n", dpi, processes);
        System.out.printf("%-8s %-8s %12s %14s%n", "pixels", "transfer", "wall ms", "peak RSS MiB");
        for (PixelType type : TYPES) {
            double[][] figures = new double[MODES.length][];
            for (int m = 0; m < MODES.length; m++) {
                figures[m] = medianOfChildren(MODES[m], type, dpi, processes);
                System.out.printf("%-8s %-8s %12.1f %14.1f%n", type, MODES[m], figures[m][0] / 1e6,
                        figures[m][1] / 1024);
            }
            System.out.printf("%-8s memory / native: wall %.2f (goal at most 1.1), peak RSS %.2f"
                    + " (goal at most 0.5)%n", type, figures[1][0] / figures[0][0],
                    figures[1][1] / figures[0][1]);
        }
        jpegToPdf(dpi, Math.max(3, processes));
    }

    /** The median wall time (ns) and peak resident memory (KiB) of {@code processes} children. */
    private static double[] medianOfChildren(TransferMode mode, PixelType type, double dpi,
            int processes) throws IOException, InterruptedException {
        double[] walls = new double[processes];
        double[] peaks = new double[processes];
        for (int i = 0; i < processes; i++) {
            List<String> command = new ArrayList<>(Arrays.asList(
                    Paths.get(System.getProperty("java.home"), "bin", "java").toString(),
                    "-Xmx3g", "-Djava.awt.headless=true"));
            for (String property : new String[] {"java.library.path", "scanlink32.library.file"}) {
                if (System.getProperty(property) != null) {
                    command.add("-D" + property + "=" + System.getProperty(property));
                }
            }
            command.addAll(Arrays.asList("-cp", System.getProperty("java.class.path"),
                    TransferBenchmark.class.getName(), "child", mode.name(), type.name(),
                    Double.toString(dpi)));
            Process child = new ProcessBuilder(command).redirectErrorStream(true).start();
            String last = null;
            StringBuilder output = new StringBuilder();
            try (BufferedReader lines = new BufferedReader(
                         new InputStreamReader(child.getInputStream(), StandardCharsets.UTF_8))) {
                for (String line; (line = lines.readLine()) != null;) {
                    output.append(line).append('\n');
                    last = line;
                }
            }
            if (child.waitFor() != 0 || last == null || !last.startsWith("measured ")) {
                throw new IllegalStateException("the " + mode + " " + type + " scan failed:\n"
                        + output);
            }
            String[] parts = last.split(" ");
            walls[i] = Double.parseDouble(parts[1]);
            peaks[i] = Double.parseDouble(parts[2]);
        }
        return new double[] {median(walls), median(peaks)};
    }

    /** In a process of its own: one page, then "measured WALL_NS VMHWM_KB". */
    private static void child(TransferMode mode, PixelType type, double dpi) throws Exception {
        try (ScanSession session = ScanSession.open("scanlink32", "Benchmarks", "Transfers")) {
            session.openSource();
            session.setShowUserInterface(false);
            session.setResolution(dpi);
            session.setPixelType(type);
            session.setTransferMode(mode);
            long before = System.nanoTime();
            ScanResult result = session.scan(1);
            long wall = System.nanoTime() - before;
            if (result.pageCount() != 1 || result.pages().get(0).transfer() != mode) {
                throw new IllegalStateException("no page by " + mode + ": " + result.failure());
            }
            System.out.println("measured " + wall + " " + peakResidentKib());
        }
    }

    /** VmHWM of this process, in KiB. */
    private static long peakResidentKib() throws IOException {
        for (String line : Files.readAllLines(Paths.get("/proc/self/status"))) {
            if (line.startsWith("VmHWM:")) {
                return Long.parseLong(line.replaceAll("[^0-9]", ""));
            }
        }
        throw new IllegalStateException("/proc/self/status has no VmHWM");
    }

    /** A JPEG page into a PDF as it came, against decoded and written as pixels. */
    private static void jpegToPdf(double dpi, int runs) throws Exception {
        Page page;
        try (ScanSession session = ScanSession.open("scanlink32", "Benchmarks", "Transfers")) {
            session.openSource();
            session.setShowUserInterface(false);
            session.setResolution(dpi);
            session.setPixelType(PixelType.RGB);
            if (session.setCompression(Compression.JPEG) != Compression.JPEG) {
                System.out.println("the source does not compress in JPEG here: no PDF figures");
                return;
            }
            session.setTransferMode(TransferMode.MEMORY);
            ScanResult result = session.scan(1);
            if (result.pageCount() != 1 || result.pages().get(0).encoded() == null) {
                throw new IllegalStateException("no JPEG page: " + result.failure());
            }
            page = result.pages().get(0);
        }
        byte[] jpeg = page.encoded().bytes();
        Path folder = Files.createTempDirectory("transfer-benchmark");
        double[] asItCame = new double[runs];
        double[] again = new double[runs];
        long[] sizes = new long[2];
        try {
            for (int i = 0; i < runs; i++) {
                Path kept = folder.resolve("kept.pdf");
                long before = System.nanoTime();
                try (PdfDocument document = new PdfDocument(kept)) {
                    document.add(page);
                }
                asItCame[i] = System.nanoTime() - before;
                sizes[0] = Files.size(kept);

                Path decoded = folder.resolve("decoded.pdf");
                before = System.nanoTime();
                BufferedImage image = ImageIO.read(new ByteArrayInputStream(jpeg));
                try (PdfDocument document = new PdfDocument(decoded)) {
                    document.add(new Page(1, image, page.xResolution(), page.yResolution(),
                            Page.Side.UNKNOWN));
                }
                again[i] = System.nanoTime() - before;
                sizes[1] = Files.size(decoded);
            }
        } finally {
            for (File file : folder.toFile().listFiles()) {
                Files.delete(file.toPath());
            }
            Files.delete(folder);
        }
        System.out.printf("JPEG page (%,d bytes) into a PDF, median of %d: as it came %.1f ms, %,d"
                + " bytes; decoded and written as pixels %.1f ms, %,d bytes%n", jpeg.length, runs,
                median(asItCame) / 1e6, sizes[0], median(again) / 1e6, sizes[1]);
        System.out.printf("as it came / decoded again: time %.3f, size %.3f%n",
                median(asItCame) / median(again), (double) sizes[0] / sizes[1]);
    }

    private static double median(double[] values) {
        double[] sorted = values.clone();
        Arrays.sort(sorted);
        int n = sorted.length;
        return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
}
