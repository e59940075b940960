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
        List<SourceIdentity> sources = new ArrayList<>();
        for (SessionPort manager : managers()) {
            byte[] record = manager.listSources();
            if (record == null) {
                if (manager != managers().get(0)) {
                    continue; // the other width's manager lists nothing: its sources are none
                }
                throw TwainException.atStep(step);
            }
            NativeRecord.Reader reader = new NativeRecord.Reader(record);
            long count = reader.u32();
            for (long i = 0; i < count; ++i) {
                sources.add(SourceIdentity.read(reader, manager.bits()));
            }
        }
        return Collections.unmodifiableList(sources);
    }

    static SourceIdentity defaultSource() throws TwainException {
        String step = "finding the default source";
        SessionStates.requireManager(step);
        byte[] record = SessionPort.current().defaultSource();
        if (record == null) {
            throw TwainException.atStep(step);
        }
        return SourceIdentity.read(new NativeRecord.Reader(record), SessionPort.current().bits());
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

    /** Opens the source through the manager that listed it, which then takes the source's calls. */
    static void open(String step, SourceIdentity source) throws TwainException {
        SessionStates.requireNoSource(step);
        SessionPort port = SessionPort.current();
        if (!(port instanceof RoutedPort)) {
            TwainException.check(port.openSource(source.openingRecord()), step);
            return;
        }
        RoutedPort route = (RoutedPort) port;
        for (SessionPort manager : route.managers()) {
            if (manager.bits() == source.bits()) {
                route.activate(manager);
                boolean opened = false;
                try {
                    opened = manager.openSource(source.openingRecord());
                    TwainException.check(opened, step);
                } finally {
                    if (!opened) {
                        route.activate(route.managers().get(0));
                    }
                }
                return;
            }
        }
        throw TwainException.inLibrary(step, "no manager of this session lists " + source.bits()
                + "-bit sources", FailureKind.NO_SUCH_SOURCE, null);
    }

    private static List<SessionPort> managers() {
        SessionPort port = SessionPort.current();
        return port instanceof RoutedPort ? ((RoutedPort) port).managers()
                                          : Collections.singletonList(port);
    }
}
