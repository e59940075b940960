import java.awt.image.BufferedImage;
import java.io.IOException;
import java.io.PrintWriter;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Arrays;
import java.util.List;
import javax.imageio.ImageIO;

/**
 * Prepares the BMP suite for the JNI host, at build time: each file as the page the virtual
 * scanner delivers (a 14-byte file header, which the scanner drops, before the packed DIB), and
 * reference.tsv, which tells per file its header fields and the pixels that ImageIO reads from it,
 * as the host-side tests compare them. Run as: java BmpReference.java SUITE OUTPUT
 *
 * <p>reference.tsv holds a line per file: set/file, in_scope, biSize, compression, the page's file
 * name, and ImageIO's width and height (0 and 0 when ImageIO cannot read it); then a line with
 * the pixels as 0xRRGGBB in hexadecimal, six digits each, row by row from the top.
 */
public class BmpReference {
    public static void main(String[] args) throws IOException {
        Path suite = Path.of(args[0]);
        Path output = Path.of(args[1]);
        Files.createDirectories(output.resolve("pages"));
        List<String> lines = Files.readAllLines(suite.resolve("index.tsv"));
        List<String> columns = Arrays.asList(lines.get(0).split("\t", -1));
        try (PrintWriter reference = new PrintWriter(Files.newBufferedWriter(
                output.resolve("reference.tsv"), StandardCharsets.US_ASCII))) {
            for (String line : lines.subList(1, lines.size())) {
                String[] fields = line.split("\t", -1);
                java.util.function.Function<String, String> field =
                        c -> fields[columns.indexOf(c)];
                Path file = suite.resolve(field.apply("set")).resolve(field.apply("file"));
                String page = field.apply("set") + "_" + field.apply("file");
                Files.write(output.resolve("pages").resolve(page), pageOf(file,
                        Integer.parseInt(field.apply("bfOffBits")),
                        Integer.parseInt(field.apply("biSize")),
                        Integer.parseInt(field.apply("bitcount")), field.apply("compression"),
                        Long.parseLong(field.apply("clrUsed")),
                        field.apply("packed").equals("yes")));
                BufferedImage image = read(file);
                reference.print(String.join("\t", field.apply("set") + "/" + field.apply("file"),
                        field.apply("in_scope"), field.apply("biSize"),
                        field.apply("compression"), page));
                reference.printf("\t%d\t%d%n", image == null ? 0 : image.getWidth(),
                        image == null ? 0 : image.getHeight());
                StringBuilder pixels = new StringBuilder();
                for (int y = 0; image != null && y < image.getHeight(); y++) {
                    for (int x = 0; x < image.getWidth(); x++) {
                        pixels.append(String.format("%06x", image.getRGB(x, y) & 0xFFFFFF));
                    }
                }
                reference.println(pixels);
            }
        }
    }

    private static BufferedImage read(Path file) {
        try {
            return ImageIO.read(file.toFile());
        } catch (IOException | RuntimeException e) {
            return null;
        }
    }

    /**
     * The file with its pixels moved up to follow the color table where it leaves a gap, as a
     * packed DIB has them; the host-side tests deliver the same bytes.
     */
    private static byte[] pageOf(Path path, int bfOffBits, int biSize, int bitCount,
            String compression, long clrUsed, boolean packed) throws IOException {
        byte[] file = Files.readAllBytes(path);
        long colors = clrUsed != 0 || bitCount > 8 ? clrUsed : 1L << bitCount;
        long tableEnd = 14 + biSize + (compression.equals("BITFIELDS") ? 12 : 0) + 4 * colors;
        if (packed || tableEnd > bfOffBits) {
            return file;
        }
        byte[] page = Arrays.copyOf(file, (int) tableEnd + file.length - bfOffBits);
        System.arraycopy(file, bfOffBits, page, (int) tableEnd, file.length - bfOffBits);
        return page;
    }
}
