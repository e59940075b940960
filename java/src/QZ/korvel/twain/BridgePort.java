package QZ.korvel.twain;

import java.awt.image.ImageConsumer;
import java.io.EOFException;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.ByteBuffer;
import java.nio.file.Path;
import java.util.concurrent.TimeUnit;

/**
 * A session served by a bridge process: the library's own session code in a program of its own
 * (a 32-bit one for the 32-bit drivers of a 64-bit VM, or one apart from the VM on request),
 * reached over the pipes of its standard input and output, which only this VM holds. Each call
 * is one request and its answer; a page comes in pieces before its answer, and the library in
 * this VM decodes it as it decodes its own.
 *
 * <p>A bridge that ends, crashes or says what is no answer ends the session: the call under way
 * and every later one fail with a {@link TwainException} that says so, with the exit code. A
 * bridge that does not answer a cancel or a close within the grace period is ended.
 */
final class BridgePort implements SessionPort {
    /** The system property with the grace period in milliseconds (5000 unless set). */
    static final String GRACE_PROPERTY = "scanlink32.bridge.grace.ms";

    private static final int PROTOCOL = 1;
    private static final int HELLO = 1;
    private static final int ANSWER = 2;
    private static final int PAGE_START = 3;
    private static final int PAGE_BYTES = 4;
    private static final int FAULT = 5;
    private static final int REGISTER = 16;
    private static final int SELECT_SOURCE = 17;
    private static final int OPEN_DEFAULT_SOURCE = 18;
    private static final int CLOSE_SOURCE = 19;
    private static final int UNREGISTER = 20;
    private static final int STOP_TRANSFER = 21;
    private static final int PREPARE_TRANSFER = 22;
    private static final int ACQUIRE_IMAGE = 23;
    private static final int SET_VISIBLE = 24;
    private static final int LIST_SOURCES = 25;
    private static final int DEFAULT_SOURCE = 26;
    private static final int OPEN_SOURCE = 27;
    private static final int READ_CAPABILITY = 28;
    private static final int SET_CAPABILITY = 29;
    private static final int SET_FRAME = 30;
    private static final int TRANSFER_FAILURE = 31;
    private static final int CANCEL = 32;
    private static final int START_TRACE = 33;
    private static final int STOP_TRACE = 34;
    private static final int TRACE_LINE = 35;
    private static final int ANSWERED = 0;
    private static final int REFUSED = 1;
    private static final int OUT_OF_MEMORY = 2;

    /** The natives each request stands for, from REGISTER on, for the messages of failures. */
    private static final String[] REQUEST_NAMES = {"register", "selectSource", "openSource",
            "closeSource", "unregister", "stopTransfer", "prepareTransfer", "acquireImage",
            "setVisible", "listSources", "defaultSource", "openSource", "readCapability",
            "setCapability", "setFractionalFrame", "transferFailure", "cancel", "startTrace",
            "stopTrace", "line"};

    /** No answer of the bridge's is larger: a source list, a container. */
    private static final int MOST_ANSWER_BYTES = 64 << 20;
    private static final int MOST_PIECE_BYTES = 1 << 20;
    private static final int MSG_GETCURRENT = 0x0002;

    private final Process process;
    private final String program;
    private final int bits;
    private final InputStream in;
    private final OutputStream out;
    private final long graceMillis;
    private final Object writing = new Object();
    private final byte[] header = new byte[6];

    private volatile int state = 1;
    private volatile short resultCode;
    private volatile short conditionCode;
    private volatile String refusal;
    private volatile TwainException ended;
    private volatile long requestsDone;
    private volatile boolean busy;
    private volatile boolean closing;
    private ByteBuffer page; // on the session's thread, kept for the next page

    private BridgePort(Process process, String program, int bits, long graceMillis) {
        this.process = process;
        this.program = program;
        this.bits = bits;
        this.in = process.getInputStream();
        this.out = process.getOutputStream();
        this.graceMillis = graceMillis;
    }

    /**
     * Starts the bridge for drivers of {@code bits} bits and reads its greeting.
     *
     * @throws TwainException if it cannot be started, or is not a bridge of this version
     */
    static BridgePort start(int bits) throws TwainException {
        String step = "starting the " + bits + "-bit bridge process";
        Path file;
        try {
            file = BridgeProgram.locate(bits);
        } catch (UnsatisfiedLinkError e) {
            throw TwainException.inLibrary(step, e.getMessage(), FailureKind.OTHER, e);
        }
        Process process;
        try {
            process = new ProcessBuilder(file.toString())
                    .redirectError(ProcessBuilder.Redirect.INHERIT).start();
        } catch (IOException e) {
            throw TwainException.inLibrary(step, "cannot start " + file + ": " + e.getMessage(),
                    FailureKind.OTHER, e);
        } finally {
            BridgeProgram.started(file, bits);
        }
        BridgePort port = new BridgePort(process, file.toString(), bits, grace());
        port.greet(step);
        return port;
    }

    private static long grace() {
        Long millis = Long.getLong(GRACE_PROPERTY);
        return millis != null && millis > 0 ? millis : 5000;
    }

    /** Reads the greeting; a bridge that does not greet within the grace period is ended. */
    private void greet(String step) throws TwainException {
        busy = true;
        watch(requestsDone);
        try {
            byte[] hello = readMessage(HELLO, MOST_PIECE_BYTES);
            NativeRecord.Reader reader = new NativeRecord.Reader(hello);
            long protocol = reader.u32();
            long width = reader.u32();
            String version = reader.text();
            if (protocol != PROTOCOL || width != bits || !BuildVersion.VERSION.equals(version)) {
                throw fail(step, program + " is a " + width + "-bit bridge of version " + version
                        + " speaking protocol " + protocol + ", not a " + bits + "-bit one of "
                        + BuildVersion.VERSION + " speaking " + PROTOCOL, null);
            }
        } catch (BridgeEnded e) {
            throw e.failure();
        } finally {
            busy = false;
            requestsDone++;
        }
    }

    // What any thread may ask.

    @Override
    public int bits() {
        return bits;
    }

    @Override
    public int state() {
        return state;
    }

    @Override
    public short resultCode() {
        return resultCode;
    }

    @Override
    public short conditionCode() {
        return conditionCode;
    }

    @Override
    public String refusal() {
        return refusal;
    }

    /** Why the bridge is gone, or null while it serves. */
    TwainException ended() {
        return ended;
    }

    /**
     * Ends the wait for a page: the bridge is told at once, and is ended when the request under way
     * has not come back within the grace period.
     */
    @Override
    public void cancelWait() {
        try {
            synchronized (writing) {
                writeMessage(CANCEL, new byte[0]);
            }
        } catch (IOException e) {
            // Gone already: the request under way learns it from its own read.
        }
        endIfStuck();
    }

    /**
     * The session is closing: the request under way, and every one after it, gets the grace
     * period, past which the bridge is ended.
     */
    void closing() {
        closing = true;
        endIfStuck();
    }

    /** Ends the bridge when the request under way now has not come back within the grace period. */
    void endIfStuck() {
        if (!busy) {
            return;
        }
        watch(requestsDone);
    }

    private void watch(long stuckAt) {
        Thread watch = new Thread(() -> {
            try {
                Thread.sleep(graceMillis);
            } catch (InterruptedException e) {
                return;
            }
            if (busy && requestsDone == stuckAt) {
                process.destroyForcibly();
            }
        }, "scanlink32 bridge watch");
        watch.setDaemon(true);
        watch.start();
    }

    /**
     * Closes the channel and waits, with a bound, for the bridge to end; ends it past the grace
     * period. Called once the session is down, or the bridge gone.
     */
    void shutdown() {
        try {
            out.close();
        } catch (IOException e) {
            // Gone already.
        }
        exitCode();
    }

    // The session's thread.

    @Override
    public boolean register(int versionMajor, int versionMinor, String manufacturer,
            String productFamily, String productName) {
        return flag(REGISTER, new NativeRecord.Writer().u32(versionMajor).u32(versionMinor)
                .text(manufacturer).text(productFamily).text(productName).toBytes());
    }

    @Override
    public boolean selectSource() {
        return flag(SELECT_SOURCE, null);
    }

    @Override
    public boolean openSource() {
        return flag(OPEN_DEFAULT_SOURCE, null);
    }

    @Override
    public boolean closeSource() {
        return flag(CLOSE_SOURCE, null);
    }

    @Override
    public boolean unregister() {
        if (ended != null) {
            return true; // the session went with the bridge
        }
        return flag(UNREGISTER, null);
    }

    @Override
    public boolean stopTransfer() {
        return flag(STOP_TRANSFER, null);
    }

    @Override
    public boolean prepareTransfer() {
        return flag(PREPARE_TRANSFER, null);
    }

    @Override
    public boolean acquireImage(ImageConsumer consumer) {
        PageBytes received = new PageBytes();
        boolean delivered = request(ACQUIRE_IMAGE, null, received).u8() != 0;
        if (!delivered || !received.came) {
            return false;
        }
        if (received.memoryError != null) {
            throw received.memoryError;
        }
        return BridgePages.deliver(received.locked ? page : null, received.size, consumer);
    }

    @Override
    public boolean setVisible(boolean visible) {
        return flag(SET_VISIBLE, new NativeRecord.Writer().u8(visible ? 1 : 0).toBytes());
    }

    @Override
    public byte[] listSources() {
        return record(LIST_SOURCES, null);
    }

    @Override
    public byte[] defaultSource() {
        return record(DEFAULT_SOURCE, null);
    }

    @Override
    public boolean openSource(byte[] identity) {
        return flag(OPEN_SOURCE, identity);
    }

    @Override
    public byte[] readCapability(int capability, int msg) {
        return record(READ_CAPABILITY, new NativeRecord.Writer().u32(capability).u32(msg).toBytes());
    }

    @Override
    public boolean setCapability(int capability, byte[] container) {
        return flag(SET_CAPABILITY,
                new NativeRecord.Writer().u32(capability).bytes(container).toBytes());
    }

    @Override
    public byte[] setFractionalFrame(double left, double top, double right, double bottom) {
        return record(SET_FRAME, new NativeRecord.Writer()
                .i64(Double.doubleToRawLongBits(left)).i64(Double.doubleToRawLongBits(top))
                .i64(Double.doubleToRawLongBits(right)).i64(Double.doubleToRawLongBits(bottom))
                .toBytes());
    }

    @Override
    public long transferFailure() {
        return request(TRANSFER_FAILURE, null, null).i64();
    }

    /** Starts the bridge's trace in the file; false when it cannot write it. */
    boolean startTrace(String file) {
        return flag(START_TRACE, new NativeRecord.Writer().text(file).toBytes());
    }

    void stopTrace() {
        flag(STOP_TRACE, null);
    }

    void traceLine(String text) {
        flag(TRACE_LINE, new NativeRecord.Writer().text(text).toBytes());
    }

    // The typed settings, as the natives send them: flags and 16-bit values as TWTY_UINT16,
    // resolutions as TWTY_FIX32; a value the source does not give reads as the natives' default.

    @Override
    public short getPixelType() {
        return (short) number(0x0101, 0);
    }

    @Override
    public boolean setPixelType(short value) {
        return setOne(0x0101, ItemType.UINT16, value & 0xFFFF);
    }

    @Override
    public double getXResolution() {
        return number(0x1118, 0);
    }

    @Override
    public boolean setXResolution(double value) {
        return setOne(0x1118, ItemType.FIX32, value);
    }

    @Override
    public double getYResolution() {
        return number(0x1119, 0);
    }

    @Override
    public boolean setYResolution(double value) {
        return setOne(0x1119, ItemType.FIX32, value);
    }

    @Override
    public short getCurrentUnits() {
        return (short) number(0x0102, 0);
    }

    @Override
    public boolean setCurrentUnits(short value) {
        return setOne(0x0102, ItemType.UINT16, value & 0xFFFF);
    }

    @Override
    public boolean getFeederEnabled() {
        return ((long) number(0x1002, 0) & 0xFF) != 0;
    }

    @Override
    public boolean setFeederEnabled(boolean value) {
        return setOne(0x1002, ItemType.UINT16, value ? 1 : 0);
    }

    @Override
    public boolean isFeederLoaded() {
        return ((long) number(0x1003, 0) & 0xFF) != 0;
    }

    @Override
    public boolean setTransferCount(int value) {
        return setOne(0x0001, ItemType.UINT16, value & 0xFFFF);
    }

    private double number(int capability, double fallback) {
        byte[] record = readCapability(capability, MSG_GETCURRENT);
        if (record == null) {
            return fallback;
        }
        try {
            NativeRecord.Reader reader = new NativeRecord.Reader(record);
            if (reader.u8() != 0) {
                return fallback;
            }
            Object value = CapabilityValue.read(reader).current();
            if (value instanceof Boolean) {
                return (Boolean) value ? 1 : 0;
            }
            return value instanceof Number ? ((Number) value).doubleValue() : fallback;
        } catch (RuntimeException e) {
            return fallback;
        }
    }

    private boolean setOne(int capability, ItemType type, Object value) {
        return setCapability(capability, CapabilityValue.oneValue(type, value).toRecord());
    }

    // The channel.

    private boolean flag(int kind, byte[] arguments) {
        return request(kind, arguments, null).u8() != 0;
    }

    private byte[] record(int kind, byte[] arguments) {
        NativeRecord.Reader answer = request(kind, arguments, null);
        return answer.u8() != 0 ? answer.rest() : null;
    }

    /** A page as it comes in pieces, into the buffer kept for pages. */
    private final class PageBytes {
        boolean came;
        boolean locked;
        int size;
        int received;
        OutOfMemoryError memoryError;

        void start(NativeRecord.Reader start, String step) {
            locked = start.u8() != 0;
            long announced = start.i64();
            if (came || announced < 0 || announced > Integer.MAX_VALUE - 8
                    || !locked && announced != 0) {
                throw fail(step, "the bridge announced a page of " + announced + " bytes", null);
            }
            came = true;
            size = (int) announced;
            if (page == null || page.capacity() < size) {
                page = null;
                try {
                    page = ByteBuffer.allocateDirect(size);
                } catch (OutOfMemoryError e) {
                    memoryError = e; // its bytes are read and dropped, so the channel stays whole
                }
            }
            if (page != null) {
                page.clear();
            }
        }

        void piece(byte[] bytes, String step) {
            if (!came || bytes.length > size - received) {
                throw fail(step, "the bridge sent more of a page than it announced", null);
            }
            received += bytes.length;
            if (memoryError == null) {
                page.put(bytes);
            }
        }
    }

    /**
     * Sends a request and reads its answer, the page before it when {@code pages} takes one.
     *
     * @return the answer's payload
     * @throws BridgeEnded if the bridge is gone, or said what is no answer
     * @throws IllegalArgumentException if the bridge refused an argument, as the native does
     * @throws OutOfMemoryError if the bridge ran out of memory
     */
    private NativeRecord.Reader request(int kind, byte[] arguments, PageBytes pages) {
        TwainException gone = ended;
        if (gone != null) {
            throw new BridgeEnded(gone);
        }
        String step = "the bridge's " + (kind >= REGISTER && kind <= TRACE_LINE
                ? REQUEST_NAMES[kind - REGISTER] : "request " + kind);
        busy = true;
        if (closing) {
            watch(requestsDone);
        }
        try {
            synchronized (writing) {
                writeMessage(kind, arguments != null ? arguments : new byte[0]);
            }
            while (true) {
                int got = readHeader();
                byte[] payload = readPayload(got, MOST_ANSWER_BYTES);
                int messageKind = (header[4] & 0xFF) | (header[5] & 0xFF) << 8;
                if (messageKind == ANSWER) {
                    return answered(payload, pages, step);
                }
                if (pages != null && messageKind == PAGE_START) {
                    pages.start(new NativeRecord.Reader(payload), step);
                } else if (pages != null && messageKind == PAGE_BYTES) {
                    pages.piece(payload, step);
                } else if (messageKind == FAULT) {
                    throw fail(step, "the bridge stopped: " + textOf(payload), null);
                } else {
                    throw fail(step, "the bridge sent a message of kind " + messageKind
                            + " where an answer belongs", null);
                }
            }
        } catch (IOException e) {
            throw fail(step, null, e);
        } catch (java.nio.BufferUnderflowException e) {
            throw fail(step, "the bridge sent a message cut short", e);
        } finally {
            busy = false;
            requestsDone++;
        }
    }

    private NativeRecord.Reader answered(byte[] payload, PageBytes pages, String step) {
        NativeRecord.Reader answer = new NativeRecord.Reader(payload);
        int outcome = answer.u8();
        state = (int) answer.u32();
        resultCode = (short) answer.u16();
        conditionCode = (short) answer.u16();
        refusal = null;
        if (pages != null && pages.came && pages.received != pages.size) {
            throw fail(step, "the bridge answered before the page's last byte", null);
        }
        if (outcome == ANSWERED) {
            return answer;
        }
        String text = answer.text();
        if (outcome == REFUSED) {
            throw new IllegalArgumentException(text);
        }
        if (outcome == OUT_OF_MEMORY) {
            throw new OutOfMemoryError(text);
        }
        throw new IllegalStateException(text);
    }

    private static String textOf(byte[] payload) {
        try {
            return new NativeRecord.Reader(payload).text();
        } catch (RuntimeException e) {
            return "(no text)";
        }
    }

    /**
     * The bridge is gone, or spoke out of turn: it is ended, and the session with it. The failure
     * says what became of the process.
     */
    private BridgeEnded fail(String step, String detail, Throwable cause) {
        synchronized (this) {
            if (ended == null) {
                int code = detail == null ? exitCode() : endNow();
                String why = detail != null ? detail + "; the bridge process was ended"
                        : "the bridge process " + program + " ended"
                                + (code == Integer.MIN_VALUE ? " and could not be reaped"
                                        : " with exit code " + code);
                ended = TwainException.inLibrary(step, why, FailureKind.OTHER, cause);
                state = 1;
                resultCode = 1;
                conditionCode = 0;
            }
        }
        return new BridgeEnded(ended);
    }

    private int endNow() {
        process.destroyForcibly();
        return exitCode();
    }

    /** The exit code, once the process has ended within the grace period, or after ending it. */
    private int exitCode() {
        try {
            if (!process.waitFor(graceMillis, TimeUnit.MILLISECONDS)) {
                process.destroyForcibly();
                if (!process.waitFor(graceMillis, TimeUnit.MILLISECONDS)) {
                    return Integer.MIN_VALUE;
                }
            }
            return process.exitValue();
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            process.destroyForcibly();
            return Integer.MIN_VALUE;
        }
    }

    private void writeMessage(int kind, byte[] payload) throws IOException {
        byte[] head = {(byte) payload.length, (byte) (payload.length >>> 8),
                (byte) (payload.length >>> 16), (byte) (payload.length >>> 24), (byte) kind,
                (byte) (kind >>> 8)};
        out.write(head);
        out.write(payload);
        out.flush();
    }

    private byte[] readMessage(int kind, int bound) {
        try {
            int length = readHeader();
            int got = (header[4] & 0xFF) | (header[5] & 0xFF) << 8;
            if (got != kind) {
                throw fail("greeting the bridge", "the bridge began with a message of kind " + got,
                        null);
            }
            return readPayload(length, bound);
        } catch (IOException e) {
            throw fail("greeting the bridge", null, e);
        }
    }

    private int readHeader() throws IOException {
        readFully(header, header.length);
        return (header[0] & 0xFF) | (header[1] & 0xFF) << 8 | (header[2] & 0xFF) << 16
                | (header[3] & 0xFF) << 24;
    }

    private byte[] readPayload(int length, int bound) throws IOException {
        if (length < 0 || length > bound) {
            throw fail("reading the bridge's answer", "the bridge announced a message of "
                    + (length & 0xFFFFFFFFL) + " bytes", null);
        }
        byte[] payload = new byte[length];
        readFully(payload, length);
        return payload;
    }

    private void readFully(byte[] into, int length) throws IOException {
        for (int at = 0; at < length;) {
            int got = in.read(into, at, length - at);
            if (got < 0) {
                throw new EOFException("the channel ended");
            }
            at += got;
        }
    }
}
