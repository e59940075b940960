package QZ.korvel.twain;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertThrows;

import java.util.Arrays;
import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;

/**
 * The registered natives given records that no class of the binding writes: each is refused with
 * an IllegalArgumentException before anything is sent, while the same record well made passes
 * the reader and meets only the session's own refusal (no session is open here).
 */
class MalformedRecordsTest {
    static final int ICAP_PIXELTYPE = 0x0101;
    static final int TWON_ONEVALUE = 5;
    static final int TWON_ARRAY = 3;
    static final int TWTY_UINT16 = 4;
    static final int TWTY_STR32 = 9;

    @BeforeAll
    static void loadTheLibrary() {
        assertEquals(0, TwainEx.getState());
    }

    static NativeRecord.Writer header(int conType, int itemType, long count) {
        return new NativeRecord.Writer().u16(conType).u16(itemType).u32(count).u32(0).u32(0);
    }

    static byte[] withExtra(byte[] record, int extra) {
        return Arrays.copyOf(record, record.length + extra);
    }

    static void assertRefused(String reason, byte[] container) {
        IllegalArgumentException e = assertThrows(IllegalArgumentException.class,
                () -> DeviceEx.setCapability(ICAP_PIXELTYPE, container));
        assertEquals(reason, e.getMessage());
    }

    @Test
    void aContainerIsTakenOnlyWhenItEndsWhereItsRecordEnds() {
        byte[] pixelType = header(TWON_ONEVALUE, TWTY_UINT16, 1).i64(2).toBytes();
        assertFalse(DeviceEx.setCapability(ICAP_PIXELTYPE, pixelType));
        for (int extra : new int[] {1, 2, 8}) {
            assertRefused("not a container", withExtra(pixelType, extra));
        }
        for (int cut = 1; cut <= pixelType.length; cut++) {
            assertRefused("not a container", Arrays.copyOf(pixelType, pixelType.length - cut));
        }
        assertRefused("no container", null);
    }

    @Test
    void aTextsCountIsOfUnitsNotBytes() {
        // A count of 2 with the three bytes of one and a half units.
        byte[] counted = header(TWON_ONEVALUE, TWTY_STR32, 1).u32(2).u16('o').toBytes();
        assertRefused("not a container", withExtra(counted, 1));
        assertFalse(DeviceEx.setCapability(ICAP_PIXELTYPE, withExtra(counted, 2)));
    }

    @Test
    void aCountOfMoreItemsThanTheRecordHoldsIsRefused() {
        assertRefused("not a container",
                header(TWON_ARRAY, TWTY_UINT16, 0xFFFFFFFFL).i64(1).i64(2).toBytes());
        assertRefused("not a container", header(TWON_ARRAY, 13, 0).toBytes());
    }

    @Test
    void aContainerThatCannotBeLaidOutSaysWhy() {
        assertRefused("a string of 40 bytes does not fit a field of 34",
                header(TWON_ONEVALUE, TWTY_STR32, 1).text(new String(new char[40])
                        .replace('\0', 'x')).toBytes());
    }

    @Test
    void anIdentityIsTakenOnlyWhole() {
        byte[] identity = new NativeRecord.Writer().u32(1).text("scanlink32")
                .text("Virtual Devices").text("Virtual Scanner").toBytes();
        assertFalse(DeviceEx.openSource(identity));
        for (byte[] malformed : new byte[][] {withExtra(identity, 1),
                Arrays.copyOf(identity, identity.length - 1), new byte[0], null}) {
            IllegalArgumentException e = assertThrows(IllegalArgumentException.class,
                    () -> DeviceEx.openSource(malformed));
            assertEquals("not a source's identity", e.getMessage());
        }
    }

    @Test
    void onlyTheReadsOfACapabilityAreTaken() {
        for (int msg : new int[] {0x0006, 0x10001, -1}) { // MSG_SET; past 16 bits
            IllegalArgumentException e = assertThrows(IllegalArgumentException.class,
                    () -> DeviceEx.readCapability(ICAP_PIXELTYPE, msg));
            assertEquals("not a capability read", e.getMessage());
        }
    }
}
