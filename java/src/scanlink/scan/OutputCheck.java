package scanlink.scan;

import java.io.IOException;
import java.nio.file.AccessDeniedException;
import java.nio.file.FileSystemException;
import java.nio.file.Files;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;

/**
 * Whether the output can be written, asked before the scan, so that no sheet goes through the
 * feeder for nothing; and the one-line reason when a write fails later.
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

    /** A failed write of a file, as one line that names the file and the reason. */
    static IOException failedWrite(Path file, IOException e) {
        return new IOException("cannot write " + file + ": " + reason(e), e);
    }

    private static String reason(IOException e) {
        if (e instanceof AccessDeniedException) {
            return "permission denied";
        }
        if (e instanceof NoSuchFileException) {
            return "no such file or folder";
        }
        if (e instanceof FileSystemException && ((FileSystemException) e).getReason() != null) {
            return ((FileSystemException) e).getReason();
        }
        return e.getMessage() != null ? e.getMessage() : e.getClass().getSimpleName();
    }
}
