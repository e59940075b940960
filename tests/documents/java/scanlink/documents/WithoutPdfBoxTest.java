package scanlink.documents;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;

import java.io.File;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.List;
import java.util.concurrent.TimeUnit;
import javax.imageio.ImageIO;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import scanlink.testsupport.Waiting;

/** PDFBox is needed for PDF only: without it the binding scans and writes TIFF as ever. */
class WithoutPdfBoxTest {
    @TempDir Path folder;

    @Test
    void theBindingScansAndWritesTiffAndPdfSaysWhatIsMissing() throws Exception {
        ProcessBuilder builder = new ProcessBuilder(
                Path.of(System.getProperty("java.home"), "bin", "java").toString(),
                "-Djava.awt.headless=true",
                "-Dscanlink32.library.file=" + System.getProperty("scanlink32.library.file"),
                "-cp", System.getenv("BINDING_JAR") + File.pathSeparator
                        + System.getenv("DOCUMENTS_PROBE_JAR"),
                WithoutPdfBox.class.getName(), folder.toString());
        builder.redirectErrorStream(true);
        Process probe = builder.start();
        if (!probe.waitFor(Waiting.BOUND_MILLIS, TimeUnit.MILLISECONDS)) {
            probe.destroyForcibly();
            throw new AssertionError("the probe did not end within " + Waiting.BOUND_MILLIS + " ms");
        }
        String printed = new String(probe.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        assertEquals(0, probe.exitValue(), printed);
        assertEquals(List.of("TIFF: 1 page",
                "PDF: writing PDF needs Apache PDFBox 2 on the class path (pdfbox, fontbox and "
                + "commons-logging; Debian's libpdfbox2-java): "
                + "org.apache.pdfbox.pdmodel.PDDocument is not there"),
                printed.lines().toList());
        assertEquals(850, ImageIO.read(folder.resolve("page.tif").toFile()).getWidth());
        assertFalse(Files.exists(folder.resolve("page.pdf")));
    }
}
