package scanlink.readme;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Pages.assertIsTheExpectedPage;

import QZ.korvel.twain.TwainEx;
import java.io.ByteArrayOutputStream;
import java.io.File;
import java.lang.reflect.Method;
import java.net.URL;
import java.net.URLClassLoader;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import javax.imageio.ImageIO;
import javax.tools.JavaCompiler;
import javax.tools.ToolProvider;
import org.apache.pdfbox.pdmodel.PDDocument;
import org.apache.pdfbox.pdmodel.PDPage;
import org.apache.pdfbox.pdmodel.graphics.image.PDImageXObject;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import org.junit.jupiter.api.io.TempDir;
import scanlink.testsupport.CleanSession;
import scanlink.virtualscanner.VirtualScanner;

/**
 * The Java examples of the README, taken from it as they stand, compiled for Java 8 against the
 * binding and run against the virtual scanner.
 */
@ExtendWith(CleanSession.class)
class ReadmeExamplesTest {
    static final Pattern JAVA_BLOCK = Pattern.compile("```java\n(.*?)```", Pattern.DOTALL);
    static final Pattern CLASS_NAME = Pattern.compile("public class (\\w+)");

    @TempDir Path folder;

    /** Compiles every example of the README; a loader for their classes. */
    ClassLoader compileTheExamples() throws Exception {
        String readme = Files.readString(Path.of(System.getenv("README")));
        Path sources = Files.createDirectories(folder.resolve("src"));
        Path classes = Files.createDirectories(folder.resolve("classes"));
        List<String> arguments = new ArrayList<>(List.of("--release", "8", "-Xlint:all",
                "-Xlint:-options", "-Xlint:-path", "-Werror", "-cp", System.getenv("EXAMPLE_CLASS_PATH"), "-d",
                classes.toString()));
        Matcher block = JAVA_BLOCK.matcher(readme);
        int examples = 0;
        while (block.find()) {
            examples++;
            Matcher name = CLASS_NAME.matcher(block.group(1));
            assertTrue(name.find(), "an example without a public class:\n" + block.group(1));
            Path source = sources.resolve(name.group(1) + ".java");
            Files.writeString(source, block.group(1));
            arguments.add(source.toString());
        }
        assertEquals(3, examples, "the README's examples");
        JavaCompiler javac = ToolProvider.getSystemJavaCompiler();
        ByteArrayOutputStream messages = new ByteArrayOutputStream();
        int status = javac.run(null, messages, messages, arguments.toArray(new String[0]));
        assertEquals(0, status, messages.toString());
        return new URLClassLoader(new URL[] {classes.toUri().toURL()}, getClass().getClassLoader());
    }

    static void runMain(ClassLoader loader, String className, String argument) throws Exception {
        Method main = loader.loadClass(className).getMethod("main", String[].class);
        main.invoke(null, (Object) new String[] {argument});
    }

    @Test
    void theFeederToPdfExampleWritesEverySheetWithItsGrayLevels() throws Exception {
        ClassLoader examples = compileTheExamples();
        VirtualScanner.setKnob("feeder.sheets", 3);
        File pdf = folder.resolve("scan.pdf").toFile();
        runMain(examples, "ScanToPdf", pdf.toString());
        assertEquals(1, TwainEx.getState());
        // The page the source scans in gray at 150 dpi, level by level.
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "README"));
        assertTrue(TwainEx.openSource());
        assertTrue(TwainEx.setPixelType((short) 1));
        assertTrue(TwainEx.setXResolution(150));
        assertTrue(TwainEx.setYResolution(150));
        int[] expected = VirtualScanner.expectedPage();
        try (PDDocument document = PDDocument.load(pdf)) {
            assertEquals(3, document.getNumberOfPages());
            for (PDPage page : document.getPages()) {
                assertEquals(612f, page.getMediaBox().getWidth(), 1e-3);
                PDImageXObject image = (PDImageXObject) page.getResources().getXObject(
                        page.getResources().getXObjectNames().iterator().next());
                assertEquals("DeviceGray", image.getColorSpace().getName());
                int[] levels = image.getRawRaster().getPixels(0, 0, expected[0], expected[1],
                        (int[]) null);
                for (int i = 0; i < levels.length; i++) {
                    assertEquals(expected[i + 2] & 0xFF, levels[i], "sample " + i);
                }
            }
        }
    }

    @Test
    void theDuplexExampleScansBothSidesOfTwoSheetsIntoFourPages() throws Exception {
        ClassLoader examples = compileTheExamples();
        VirtualScanner.setKnob("feeder.sheets", 2);
        File pdf = folder.resolve("duplex.pdf").toFile();
        runMain(examples, "DuplexToPdf", pdf.toString());
        try (PDDocument document = PDDocument.load(pdf)) {
            assertEquals(4, document.getNumberOfPages());
            // 8.5 inches at the 150 dpi the source listed: 612 points.
            assertEquals(612f, document.getPage(3).getMediaBox().getWidth(), 1e-3);
        }
        assertEquals(1, TwainEx.getState());
    }

    @Test
    void theRawExampleScansOnePageOnItsOwnThread() throws Exception {
        ClassLoader examples = compileTheExamples();
        File png = folder.resolve("page.png").toFile();
        runMain(examples, "RawScan", png.toString());
        assertEquals(1, TwainEx.getState());
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "README"));
        assertTrue(TwainEx.openSource());
        assertIsTheExpectedPage(ImageIO.read(png));
    }
}
