package scanlink.bridge;

import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.TwainException;
import QZ.korvel.twain.Version;
import java.io.ByteArrayOutputStream;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

/**
 * A bridge that greets as it should, then answers the session's first request with what is no
 * answer: the session fails to open, saying what came, and the bridge is ended.
 */
class GarbledAnswerTest {
    @AfterEach
    void noBridgeIsLeft() {
        Bridges.assertNoneLeft();
    }

    @ParameterizedTest(name = "{0}")
    @CsvSource(delimiter = '|', value = {
        "a message of an unknown kind | 10 | 99 | 10 | the bridge sent a message of kind 99 where an answer belongs",
        "a greeting again | 10 | 1 | 10 | the bridge sent a message of kind 1 where an answer belongs",
        "an answer too short for its codes | 2 | 2 | 2 | the bridge sent a message cut short",
        "an answer larger than any | 2147483647 | 2 | 0 | the bridge announced a message of 2147483647 bytes",
        "an answer cut short by the bridge's end | 100 | 2 | 10 | ended with exit code 0",
        "a fault without its text | 1 | 5 | 1 | the bridge stopped: (no text)"})
    void theSessionFailsSayingWhatCame(String what, long announced, int kind, int sent,
            String expected, @TempDir Path folder) throws Exception {
        ByteArrayOutputStream said = new ByteArrayOutputStream();
        said.write(greeting());
        said.write(message(announced, kind, new byte[sent]));
        Path bytes = folder.resolve("said");
        Files.write(bytes, said.toByteArray());
        Path fake = folder.resolve("scanlink-bridge");
        String rest = expected.startsWith("ended") ? "" : "exec cat > /dev/null\n";
        Files.write(fake, ("#!/bin/sh\ncat '" + bytes + "'\n" + rest).getBytes(StandardCharsets.UTF_8));
        Files.setPosixFilePermissions(fake, PosixFilePermissions.fromString("rwx------"));
        String real = System.getProperty("scanlink32.bridge.file");
        System.setProperty("scanlink32.bridge.file", fake.toString());
        try {
            TwainException refused = assertThrows(TwainException.class, Bridges::isolated, what);
            assertTrue(refused.getMessage().contains(expected), refused.getMessage());
        } finally {
            System.setProperty("scanlink32.bridge.file", real);
        }
    }

    /** The greeting of a bridge of this VM's width and this binding's version. */
    private static byte[] greeting() {
        String version = Version.binding();
        ByteBuffer hello = ByteBuffer.allocate(12 + 2 * version.length())
                .order(ByteOrder.LITTLE_ENDIAN);
        hello.putInt(1).putInt(64).putInt(version.length());
        for (char unit : version.toCharArray()) {
            hello.putChar(unit);
        }
        return message(hello.capacity(), 1, hello.array());
    }

    private static byte[] message(long announced, int kind, byte[] payload) {
        ByteBuffer message = ByteBuffer.allocate(6 + payload.length).order(ByteOrder.LITTLE_ENDIAN);
        message.putInt((int) announced).putShort((short) kind).put(payload);
        return message.array();
    }
}
