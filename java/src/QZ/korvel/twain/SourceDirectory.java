package QZ.korvel.twain;

import java.util.ArrayList;
import java.util.Collections;
import java.util.List;

/** The sources the manager knows, and opening one; on the session's thread. */
final class SourceDirectory {
    private SourceDirectory() {}

    static List<SourceIdentity> sources() throws TwainException {
        String step = "listing the sources";
        SessionStates.requireManager(step);
        byte[] record = DeviceEx.listSources();
        if (record == null) {
            throw TwainException.atStep(step);
        }
        NativeRecord.Reader reader = new NativeRecord.Reader(record);
        long count = reader.u32();
        List<SourceIdentity> sources = new ArrayList<>();
        for (long i = 0; i < count; ++i) {
            sources.add(SourceIdentity.read(reader));
        }
        return Collections.unmodifiableList(sources);
    }

    static SourceIdentity defaultSource() throws TwainException {
        String step = "finding the default source";
        SessionStates.requireManager(step);
        byte[] record = DeviceEx.defaultSource();
        if (record == null) {
            throw TwainException.atStep(step);
        }
        return SourceIdentity.read(new NativeRecord.Reader(record));
    }

    /** The first source of that product name, as the manager lists them, opened by its Id. */
    static SourceIdentity open(String productName) throws TwainException {
        String step = "opening the source \"" + productName + "\"";
        SessionStates.requireNoSource(step);
        List<SourceIdentity> sources = sources();
        for (SourceIdentity source : sources) {
            if (source.productName().equals(productName)) {
                open(step, source);
                return source;
            }
        }
        List<String> names = new ArrayList<>();
        for (SourceIdentity source : sources) {
            names.add(source.productName());
        }
        throw TwainException.inLibrary(step, "no source is named \"" + productName + "\"; "
                        + (names.isEmpty() ? "the manager knows no source"
                                           : "the sources are " + Items.joined(names)),
                FailureKind.NO_SUCH_SOURCE, null);
    }

    static void open(String step, SourceIdentity source) throws TwainException {
        SessionStates.requireNoSource(step);
        TwainException.check(DeviceEx.openSource(source.openingRecord()), step);
    }
}
