package QZ.korvel.twain.documents;

import java.io.IOException;
import java.nio.file.AccessDeniedException;
import java.nio.file.FileSystemException;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;

/** A write that failed, told in one line that names the file and the reason. */
final class FileFailures {
    private static final String CANNOT_WRITE = "cannot write ";

    private FileFailures() {}

    /** "cannot write FILE: reason"; a failure told so already stays as it is. */
    static IOException failedWrite(Path file, IOException e) {
        if (e.getMessage() != null && e.getMessage().startsWith(CANNOT_WRITE + file + ": ")) {
            return e;
        }
        return new IOException(CANNOT_WRITE + file + ": " + reason(e), e);
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
