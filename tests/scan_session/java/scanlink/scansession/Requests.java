package scanlink.scansession;

import static scanlink.testsupport.Twain.DAT_CAPABILITY;
import static scanlink.testsupport.Twain.DAT_IMAGEFILEXFER;
import static scanlink.testsupport.Twain.DAT_IMAGEMEMXFER;
import static scanlink.testsupport.Twain.DAT_IMAGENATIVEXFER;
import static scanlink.testsupport.Twain.DG_CONTROL;
import static scanlink.testsupport.Twain.DG_IMAGE;
import static scanlink.testsupport.Twain.MSG_GET;
import static scanlink.testsupport.Twain.MSG_SET;

import java.util.List;
import java.util.stream.Collectors;
import scanlink.virtualscanner.VirtualScanner;
import scanlink.virtualscanner.VirtualScanner.Triplet;

/** What the virtual scanner received, as the session tests read it. */
final class Requests {
    private Requests() {}

    /** The triplets without status requests, each as "DAT/MSG" in hex, or "CAP=value" for sets. */
    static List<String> sequence() {
        return VirtualScanner.logWithoutStatus().stream().map(Requests::describe)
                .collect(Collectors.toList());
    }

    static String describe(Triplet t) {
        if (t.is(DG_CONTROL, DAT_CAPABILITY, MSG_SET)) {
            return String.format("set %04X=%d", capability(t), item16(t));
        }
        return String.format("%04X/%04X", t.dat(), t.msg());
    }

    /** The capability of a capability request. */
    static int capability(Triplet t) {
        return (t.data()[0] & 0xFF) | (t.data()[1] & 0xFF) << 8;
    }

    /** The low 16 bits of the one value of a set, as a signed number. */
    static int item16(Triplet t) {
        return (short) ((t.container()[2] & 0xFF) | (t.container()[3] & 0xFF) << 8);
    }

    /** The TW_FIX32 of the one value of a set. */
    static double itemFix32(Triplet t) {
        return item16(t) + ((t.container()[4] & 0xFF) | (t.container()[5] & 0xFF) << 8) / 65536.0;
    }

    static List<Triplet> sets(int capability) {
        return VirtualScanner.logWithoutStatus().stream()
                .filter(t -> t.is(DG_CONTROL, DAT_CAPABILITY, MSG_SET) && capability(t) == capability)
                .collect(Collectors.toList());
    }

    /** Pages the source handed over whole, by any transfer: the transfers that ended XFERDONE. */
    static long pagesTransferred() {
        return VirtualScanner.logWithoutStatus().stream()
                .filter(t -> t.dg() == DG_IMAGE && t.msg() == MSG_GET && t.resultCode() == 6
                        && (t.dat() == DAT_IMAGENATIVEXFER || t.dat() == DAT_IMAGEMEMXFER
                                || t.dat() == DAT_IMAGEFILEXFER))
                .count();
    }

    static long count(int dg, int dat, int msg) {
        return VirtualScanner.logWithoutStatus().stream().filter(t -> t.is(dg, dat, msg)).count();
    }
}
