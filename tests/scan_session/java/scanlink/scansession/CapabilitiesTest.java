package scanlink.scansession;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertThrows;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Twain.DAT_CAPABILITY;
import static scanlink.testsupport.Twain.DG_CONTROL;
import static scanlink.testsupport.Twain.MSG_SET;

import QZ.korvel.twain.Capability;
import QZ.korvel.twain.CapabilityOperation;
import QZ.korvel.twain.CapabilityValue;
import QZ.korvel.twain.ContainerKind;
import QZ.korvel.twain.ItemType;
import QZ.korvel.twain.ScanSession;
import QZ.korvel.twain.Supported;
import QZ.korvel.twain.TwainException;
import java.util.Arrays;
import java.util.EnumSet;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import scanlink.virtualscanner.VirtualScanner;

/** Capabilities by their number through the session, against the virtual flatbed. */
@ExtendWith(CleanSession.class)
class CapabilitiesTest {
    static ScanSession openFlatbed() throws TwainException {
        ScanSession session = ScanSession.open("scanlink32", "Tests", "Capabilities");
        session.openSource();
        return session;
    }

    @Test
    void supportedTellsTheAllowedCurrentAndDefaultValuesAndTheOperations() throws Exception {
        try (ScanSession session = openFlatbed()) {
            Supported pixelTypes = session.supported(Capability.ICAP_PIXELTYPE);
            assertEquals(ContainerKind.ENUMERATION, pixelTypes.allowed().kind());
            assertEquals(Arrays.asList(0, 1, 2), pixelTypes.values());
            assertEquals(2, pixelTypes.current());
            assertEquals(2, pixelTypes.defaultValue());
            assertEquals(EnumSet.allOf(CapabilityOperation.class), pixelTypes.operations());

            Supported brightness = session.supported(Capability.ICAP_BRIGHTNESS);
            assertTrue(brightness.isRange());
            assertEquals(-1000.0, brightness.min());
            assertEquals(1000.0, brightness.max());
            assertEquals(1 / 65536.0, brightness.step());
            assertEquals(0.0, brightness.current());

            Supported online = session.supported(Capability.CAP_DEVICEONLINE);
            assertEquals(true, online.current());
            assertFalse(online.operations().contains(CapabilityOperation.SET));
            assertEquals("CAP_DEVICEONLINE (0x100F): only true; current true; default true; "
                    + "takes GET, GET_DEFAULT, GET_CURRENT", online.toString());
        }
    }

    @Test
    void aValueIsSetReadAndResetAndANearestValueIsToldApart() throws Exception {
        try (ScanSession session = openFlatbed()) {
            assertTrue(session.set(Capability.ICAP_PIXELTYPE, 1));
            assertEquals(1, session.current(Capability.ICAP_PIXELTYPE).current());
            assertEquals(2, session.reset(Capability.ICAP_PIXELTYPE).current());
            assertEquals(2, session.current(Capability.ICAP_PIXELTYPE).current());

            session.set(Capability.ICAP_UNITS, 0);
            assertFalse(session.set(Capability.ICAP_XRESOLUTION, 1000.0));
            assertEquals(600.0, session.current(Capability.ICAP_XRESOLUTION).current());
        }
    }

    @Test
    void aValueOfTheWrongTypeIsRefusedBeforeAnythingIsSent() throws Exception {
        try (ScanSession session = openFlatbed()) {
            VirtualScanner.reset();
            IllegalArgumentException e = assertThrows(IllegalArgumentException.class,
                    () -> session.set(Capability.ICAP_XRESOLUTION, "300"));
            assertEquals("an item of FIX32 is a Number, not \"300\"", e.getMessage());
            e = assertThrows(IllegalArgumentException.class,
                    () -> session.set(Capability.ICAP_PIXELTYPE, 70000));
            assertEquals("70000 is no UINT16 (0 to 65535)", e.getMessage());
            e = assertThrows(IllegalArgumentException.class,
                    () -> session.set(Capability.of(0x8123), 1));
            assertTrue(e.getMessage().startsWith("the item type of 0x8123 is not known"),
                    e.getMessage());
            e = assertThrows(IllegalArgumentException.class, () -> CapabilityValue.oneValue(
                    ItemType.STR32, "a string of thirty-four characters"));
            assertEquals("a string of 34 characters does not fit STR32", e.getMessage());
            assertEquals(0, Requests.sets(0x1118).size() + Requests.sets(0x0101).size());
        }
    }

    @Test
    void aMalformedContainerFailsWithItsReasonAndIsFreed() throws Exception {
        try (ScanSession session = openFlatbed()) {
            VirtualScanner.setKnob("ICAP_PIXELTYPE.currentIndex", 9);
            TwainException e = assertThrows(TwainException.class,
                    () -> session.supported(Capability.ICAP_PIXELTYPE));
            assertTrue(e.getMessage().startsWith("reading the values of ICAP_PIXELTYPE (0x0101) "
                    + "failed: the source answered a malformed container: index 9 past the 3 "
                    + "items of an enumeration"), e.getMessage());
            VirtualScanner.reset();
            VirtualScanner.setKnob("ICAP_PIXELTYPE.numItems", 100000);
            e = assertThrows(TwainException.class,
                    () -> session.current(Capability.ICAP_PIXELTYPE));
            assertTrue(e.getMessage().contains("100000 items of 2 bytes do not fit the "),
                    e.getMessage());
            assertEquals(0, VirtualScanner.liveGlobalHandles());
        }
    }

    @Test
    void anUnsupportedCapabilityFailsWithTheSourcesCode() throws Exception {
        try (ScanSession session = openFlatbed()) {
            TwainException e = assertThrows(TwainException.class,
                    () -> session.supported(Capability.ICAP_LAMPSTATE));
            assertEquals("reading the values of ICAP_LAMPSTATE (0x110D) failed (TWAIN result code "
                    + "1 (TWRC_FAILURE), condition code 13 (TWCC_CAPUNSUPPORTED), state 4)",
                    e.getMessage());
        }
    }

    @Test
    void withoutASourceNothingIsSent() throws Exception {
        try (ScanSession session = ScanSession.open("scanlink32", "Tests", "Capabilities")) {
            VirtualScanner.reset();
            IllegalStateException e = assertThrows(IllegalStateException.class,
                    () -> session.set(Capability.CAP_DUPLEXENABLED, true));
            assertEquals("setting CAP_DUPLEXENABLED (0x1013) to ONE_VALUE of BOOL: true: no source "
                    + "is open", e.getMessage());
            assertThrows(IllegalStateException.class, session::isDuplexEnabled);
            assertEquals(0, VirtualScanner.logWithoutStatus().size());
        }
    }

    @Test
    void theProgressIndicatorIsATypedSetting() throws Exception {
        try (ScanSession session = openFlatbed()) {
            assertTrue(session.showsIndicators());
            session.setIndicators(false);
            assertFalse(session.showsIndicators());
            assertEquals(1, VirtualScanner.logWithoutStatus().stream()
                    .filter(t -> t.is(DG_CONTROL, DAT_CAPABILITY, MSG_SET)).count());
        }
    }

    @Test
    void aCapabilityIsNamedAsTheStandardNamesIt() {
        assertEquals("ICAP_XRESOLUTION", Capability.of(0x1118).name());
        assertEquals(ItemType.FIX32, Capability.of(0x1118).itemType());
        assertEquals(ItemType.FRAME, Capability.ICAP_FRAMES.itemType());
        assertEquals(ItemType.STR255, Capability.CAP_SERIALNUMBER.itemType());
        assertNull(Capability.of(0x8001).itemType());
        assertEquals("0x8001", Capability.of(0x8001).toString());
        assertEquals(Capability.CAP_XFERCOUNT, Capability.standard().get(0));
    }
}
