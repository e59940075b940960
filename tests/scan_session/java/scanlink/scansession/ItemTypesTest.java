package scanlink.scansession;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.Capability;
import QZ.korvel.twain.CapabilityValue;
import QZ.korvel.twain.ContainerKind;
import QZ.korvel.twain.FrameItem;
import QZ.korvel.twain.ItemType;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.Supported;
import QZ.korvel.twain.TwainException;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import scanlink.virtualscanner.VirtualScanner;

/**
 * Every item type of the standard and every container kind, from Java through the library to the
 * virtual duplex feeder and back.
 */
@ExtendWith(CleanSession.class)
class ItemTypesTest {
    static final Capability LAMP_OFFSET = Capability.custom(0x8001, ItemType.INT8);
    static final Capability GAMMA_LEVEL = Capability.custom(0x8002, ItemType.UINT8);
    static final Capability PAGE_COUNTER = Capability.custom(0x8003, ItemType.UINT32);
    static final Capability JOB_NAME = Capability.custom(0x8004, ItemType.STR64);

    static ScanSession openFeeder() throws TwainException {
        ScanSession session = ScanSession.open("scanlink32", "Tests", "Item types");
        session.openSource("Virtual Duplex Feeder");
        return session;
    }

    /** Sets one value and reads it back as the source now holds it. */
    static Object roundTrip(ScanSession session, Capability capability, Object value)
            throws TwainException {
        assertTrue(session.set(capability, value), capability + " took " + value + " as given");
        return session.current(capability).current();
    }

    @Test
    void oneValueOfEveryItemTypeComesBackAsSet() throws Exception {
        try (ScanSession session = openFeeder()) {
            assertEquals(-100, roundTrip(session, LAMP_OFFSET, -100));
            assertEquals(42, roundTrip(session, Capability.ICAP_JPEGQUALITY, 42));
            assertEquals(99, roundTrip(session, Capability.CAP_ALARMVOLUME, 99));
            assertEquals(192, roundTrip(session, GAMMA_LEVEL, 192));
            assertEquals(1, roundTrip(session, Capability.ICAP_PIXELTYPE, 1));
            assertEquals(4294967295L, roundTrip(session, PAGE_COUNTER, 4294967295L));
            assertEquals(true, roundTrip(session, Capability.CAP_DUPLEXENABLED, true));
            assertEquals(127.0, roundTrip(session, Capability.ICAP_THRESHOLD, 127));
            assertEquals("Ann Example", roundTrip(session, Capability.CAP_AUTHOR, "Ann Example"));
            String caption = repeat('c', 255);
            assertEquals(caption, roundTrip(session, Capability.CAP_CAPTION, caption));
            assertEquals("Spiral", roundTrip(session, Capability.ICAP_HALFTONES, "Spiral"));
            String job = repeat('j', 63);
            assertEquals(job, roundTrip(session, JOB_NAME, job));
            session.set(Capability.ICAP_UNITS, 0);
            FrameItem frame = new FrameItem(0.5, 1, 8, 10.25);
            assertEquals(frame, roundTrip(session, Capability.ICAP_FRAMES, frame));
            assertEquals("VDF-2026-0042", session.current(Capability.CAP_SERIALNUMBER).current());
        }
    }

    @Test
    void anEnumerationOrArrayLimitsTheValuesUntilReset() throws Exception {
        try (ScanSession session = openFeeder()) {
            assertTrue(session.set(Capability.ICAP_XRESOLUTION, CapabilityValue.enumeration(
                    ItemType.FIX32, List.of(150.0, 300.0), 1, 0)));
            Supported limited = session.supported(Capability.ICAP_XRESOLUTION);
            assertEquals(List.of(150.0, 300.0), limited.values());
            assertEquals(300.0, limited.current());

            assertTrue(session.set(GAMMA_LEVEL,
                    CapabilityValue.array(ItemType.UINT8, List.of(64, 255))));
            assertEquals(List.of(64, 255), session.supported(GAMMA_LEVEL).values());
            assertTrue(session.set(Capability.ICAP_HALFTONES,
                    CapabilityValue.array(ItemType.STR32, List.of("Diffusion"))));
            assertEquals(List.of("Diffusion"), session.supported(Capability.ICAP_HALFTONES).values());

            session.reset(Capability.ICAP_XRESOLUTION);
            assertEquals(List.of(100.0, 150.0, 200.0, 300.0, 600.0),
                    session.supported(Capability.ICAP_XRESOLUTION).values());
            assertEquals(200.0, session.current(Capability.ICAP_XRESOLUTION).current());

            TwainException e = assertThrows(TwainException.class,
                    () -> session.set(Capability.ICAP_HALFTONES, CapabilityValue.array(
                            ItemType.STR32, List.of("Bayer", "Stochastic"))));
            assertTrue(e.getMessage().contains("TWCC_BADVALUE"), e.getMessage());
        }
    }

    @Test
    void rangesOfEveryNumberTypeAreRead() throws Exception {
        try (ScanSession session = openFeeder()) {
            CapabilityValue offset = session.supported(LAMP_OFFSET).allowed();
            assertEquals(ContainerKind.RANGE, offset.kind());
            assertEquals(ItemType.INT8, offset.itemType());
            assertEquals(-100, offset.min());
            assertEquals(100, offset.max());
            CapabilityValue counter = session.supported(PAGE_COUNTER).allowed();
            assertEquals(4294967295L, counter.max());
            assertEquals(1L, counter.step());
            CapabilityValue threshold = session.supported(Capability.ICAP_THRESHOLD).allowed();
            assertEquals(255.0, threshold.max());
        }
    }

    @Test
    void malformedStringsAndRangesFailWithTheirReason() throws Exception {
        try (ScanSession session = openFeeder()) {
            VirtualScanner.setKnob("CAP_SERIALNUMBER.unterminated", 1);
            TwainException e = assertThrows(TwainException.class,
                    () -> session.current(Capability.CAP_SERIALNUMBER));
            assertTrue(e.getMessage().contains("malformed container: item 0 is a string without "
                    + "its terminator"), e.getMessage());
            VirtualScanner.setKnob("CAP_ALARMVOLUME.step", 0);
            e = assertThrows(TwainException.class,
                    () -> session.supported(Capability.CAP_ALARMVOLUME));
            assertTrue(e.getMessage().contains("malformed container: a range whose step is 0"),
                    e.getMessage());
            assertEquals(0, VirtualScanner.liveGlobalHandles());
        }
    }

    static String repeat(char c, int count) {
        return String.valueOf(c).repeat(count);
    }
}
