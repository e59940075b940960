package scanlink.scan;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;

/**
 * Whether the output can be written, asked before the scan, so that no sheet goes through the
 * feeder for nothing.
 */
final class OutputCheck {
    private OutputCheck() {}

    /**
     * Checks that the output's folder exists and takes files, and that the output, if it exists,
     * is a file that may be replaced.
     *
     * @throws IOException naming the output and what is wrong
     */
    static void check(Path output) throws IOException {
        Path folder = output.toAbsolutePath().getParent();
        if (!Files.isDirectory(folder)) {
            throw new IOException(
                    "cannot write " + output + ": the folder " + folder + " does not exist");
        }
        if (!Files.isWritable(folder)) {
            throw new IOException(
                    "cannot write " + output + ": the folder " + folder + " is not writable");
        }
        if (Files.isDirectory(output)) {
            throw new IOException("cannot write " + output + ": it is a folder");
        }
        if (Files.exists(output) && !Files.isWritable(output)) {
            throw new IOException("cannot write " + output + ": the file is not writable");
        }
    }
}
