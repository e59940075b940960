package scanlink.scan.check;

import java.io.BufferedReader;
import java.io.IOException;
import java.io.InputStreamReader;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;

/**
 * Follows the trace file as the library appends to it, so that each step of a check can quote the
 * triplets it sent. The library writes whole lines and flushes each.
 */
final class TraceTail implements AutoCloseable {
    private final BufferedReader reader;
    private final StringBuilder partial = new StringBuilder();

    TraceTail(Path file) throws IOException {
        // A byte that is no UTF-8 (a name in the system's code page) is replaced, not refused.
        reader = new BufferedReader(
                new InputStreamReader(Files.newInputStream(file), StandardCharsets.UTF_8));
    }

    /** The lines written since the last call; a line not yet ended waits for the next. */
    List<String> newLines() {
        List<String> lines = new ArrayList<>();
        try {
            int c;
            while (reader.ready() && (c = reader.read()) != -1) {
                if (c == '\n') {
                    lines.add(partial.toString());
                    partial.setLength(0);
                } else {
                    partial.append((char) c);
                }
            }
        } catch (IOException e) {
            lines.add("(the trace could not be read further: " + e.getMessage() + ")");
        }
        return lines;
    }

    @Override
    public void close() throws IOException {
        reader.close();
    }
}
