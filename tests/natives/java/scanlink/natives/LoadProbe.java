package scanlink.natives;

import QZ.korvel.twain.TwainEx;
import java.nio.file.Files;
import java.nio.file.Paths;

/**
 * Run in a VM of its own: uses the binding, then prints its state, or the error that loading the
 * library gave, and the file of the library that the process mapped.
 */
public final class LoadProbe {
    private LoadProbe() {}

    public static void main(String[] args) throws Exception {
        try {
            System.out.println("state " + TwainEx.getState());
        } catch (UnsatisfiedLinkError e) {
            System.out.println("error " + e.getMessage());
        }
        Files.readAllLines(Paths.get("/proc/self/maps")).stream()
                .filter(line -> line.contains("scanlink32"))
                .map(line -> line.substring(line.indexOf('/')))
                .distinct()
                .forEach(path -> System.out.println("mapped " + path));
    }
}
