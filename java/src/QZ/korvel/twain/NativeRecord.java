package QZ.korvel.twain;

import java.io.ByteArrayOutputStream;
import java.nio.BufferUnderflowException;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;

/**
 * The records that the library and this package exchange as byte arrays: little-endian numbers,
 * and strings as a 32-bit count of UTF-16 units followed by the units. The library converts
 * between those strings and the system's code page, in which TWAIN carries text.
 */
final class NativeRecord {
    private NativeRecord() {}

    /** Reads a record the library wrote; a record cut short is a fault of the library's. */
    static final class Reader {
        private final ByteBuffer bytes;

        Reader(byte[] record) {
            bytes = ByteBuffer.wrap(record).order(ByteOrder.LITTLE_ENDIAN);
        }

        int u8() {
            return bytes.get() & 0xFF;
        }

        int u16() {
            return bytes.getShort() & 0xFFFF;
        }

        long u32() {
            return bytes.getInt() & 0xFFFFFFFFL;
        }

        long i64() {
            return bytes.getLong();
        }

        String text() {
            long count = u32();
            if (count > bytes.remaining() / 2) {
                throw new BufferUnderflowException();
            }
            char[] units = new char[(int) count];
            for (int i = 0; i < units.length; ++i) {
                units[i] = bytes.getChar();
            }
            return new String(units);
        }

        /** The bytes not read yet. */
        byte[] rest() {
            byte[] rest = new byte[bytes.remaining()];
            bytes.get(rest);
            return rest;
        }

        boolean atEnd() {
            return !bytes.hasRemaining();
        }
    }

    /** Writes a record for the library. */
    static final class Writer {
        private final ByteArrayOutputStream bytes = new ByteArrayOutputStream();

        Writer u8(int value) {
            bytes.write(value);
            return this;
        }

        Writer bytes(byte[] value) {
            bytes.write(value, 0, value.length);
            return this;
        }

        Writer u16(int value) {
            bytes.write(value);
            bytes.write(value >>> 8);
            return this;
        }

        Writer u32(long value) {
            u16((int) value);
            return u16((int) (value >>> 16));
        }

        Writer i64(long value) {
            u32(value);
            return u32(value >>> 32);
        }

        Writer text(String value) {
            u32(value.length());
            for (int i = 0; i < value.length(); ++i) {
                u16(value.charAt(i));
            }
            return this;
        }

        byte[] toBytes() {
            return bytes.toByteArray();
        }
    }
}
