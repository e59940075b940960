package scanlink.settings;

import static scanlink.testsupport.Twain.*;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import static java.util.Map.entry;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import QZ.korvel.twain.TwainEx;
import java.lang.reflect.InvocationTargetException;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.util.Arrays;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.TreeSet;
import org.junit.jupiter.api.Test;
import scanlink.virtualscanner.VirtualScanner;
import scanlink.virtualscanner.VirtualScanner.Triplet;

/** The 47 capability getters and setters, called through the VM as a Java program calls them. */
@ExtendWith(CleanSession.class)
class CapabilityMethodsTest {

    /** A method's capability, the item type it exchanges, and what a getter gives by default. */
    record Binding(int capability, int itemType, Object fallback) {}

    static Binding flag(int capability) {
        return new Binding(capability, TWTY_UINT16, false);
    }

    static Binding integer(int capability, Object fallback) {
        return new Binding(capability, TWTY_UINT16, fallback);
    }

    static Binding fixed(int capability, double fallback) {
        return new Binding(capability, TWTY_FIX32, fallback);
    }

    static final Map<String, Binding> GETTERS = Map.ofEntries(
            entry("getAutoBrightness", flag(0x1100)),
            entry("getAutoFeed", flag(0x1007)),
            entry("getBitDepth", integer(0x112B, 1)),
            entry("getBitDepthReduction", integer(0x112C, (short) 0)),
            entry("getBrightness", fixed(0x1101, 0.0)),
            entry("getCanHideUI", flag(0x100E)),
            entry("getContrast", fixed(0x1103, 0.0)),
            entry("getCurrentUnits", integer(0x0102, (short) 0)),
            entry("isDeviceOnLine", flag(0x100F)),
            entry("getFeederEnabled", flag(0x1002)),
            entry("isFeederLoaded", flag(0x1003)),
            entry("getHighLight", fixed(0x110A, 255.0)),
            entry("getOrientation", integer(0x1110, (short) 0)),
            entry("getPhysicalHeight", fixed(0x1112, 0.0)),
            entry("getPhysicalWidth", fixed(0x1111, 0.0)),
            entry("getPixelType", integer(0x0101, (short) 0)),
            entry("getRotation", fixed(0x1121, 0.0)),
            entry("getShadow", fixed(0x1113, 0.0)),
            entry("getShowIndicators", flag(0x100B)),
            entry("getTransferCount", integer(0x0001, 65535)),
            entry("getThreshold", fixed(0x1123, 128.0)),
            entry("getXNativeResolution", fixed(0x1116, 0.0)),
            entry("getXResolution", fixed(0x1118, 0.0)),
            entry("getXScaling", fixed(0x1124, 1.0)),
            entry("getYNativeResolution", fixed(0x1117, 0.0)),
            entry("getYResolution", fixed(0x1119, 0.0)),
            entry("getYScaling", fixed(0x1125, 1.0)));

    static final Map<String, Binding> SETTERS = Map.ofEntries(
            entry("setAutoBrightness", flag(0x1100)),
            entry("setAutoFeed", flag(0x1007)),
            entry("setBitDepth", integer(0x112B, null)),
            entry("setBitDepthReduction", integer(0x112C, null)),
            entry("setBrightness", fixed(0x1101, 0)),
            entry("setContrast", fixed(0x1103, 0)),
            entry("setCurrentUnits", integer(0x0102, null)),
            entry("setFeederEnabled", flag(0x1002)),
            entry("setHighLight", fixed(0x110A, 0)),
            entry("setOrientation", integer(0x1110, null)),
            entry("setPixelType", integer(0x0101, null)),
            entry("setRotation", fixed(0x1121, 0)),
            entry("setShadow", fixed(0x1113, 0)),
            entry("setShowIndicators", flag(0x100B)),
            entry("setTransferCount", integer(0x0001, null)),
            entry("setThreshold", fixed(0x1123, 0)),
            entry("setXResolution", fixed(0x1118, 0)),
            entry("setXScaling", fixed(0x1124, 0)),
            entry("setYResolution", fixed(0x1119, 0)),
            entry("setYScaling", fixed(0x1125, 0)));

    /** The natives of TwainEx that are not capability methods. */
    static final Set<String> OTHER_NATIVES = Set.of("getState", "getResultCode",
            "getConditionCode", "register", "selectSource", "openSource", "stopTransfer",
            "closeSource", "unregister", "prepareTransfer", "acquireImage", "getVisible",
            "setVisible", "setFrame", "clearPage", "feedPage", "rewindPage", "skipImage");



    static void openTheSource() {
        assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Settings"));
        assertTrue(TwainEx.openSource());
        VirtualScanner.reset();
    }

    static Method method(String name) {
        return Arrays.stream(TwainEx.class.getDeclaredMethods())
                .filter(m -> m.getName().equals(name)).findFirst().orElseThrow();
    }

    static Object call(String name, Object... arguments) {
        try {
            return method(name).invoke(null, arguments);
        } catch (IllegalAccessException | InvocationTargetException e) {
            throw new AssertionError(name, e);
        }
    }

    /** A value of the setter's parameter type. */
    static Object sampleArgument(String setter) {
        Class<?> type = method(setter).getParameterTypes()[0];
        if (type == boolean.class) {
            return true;
        } else if (type == int.class) {
            return 1;
        } else if (type == short.class) {
            return (short) 1;
        }
        return 1.0;
    }

    static List<Triplet> capabilityRequests() {
        return VirtualScanner.logWithoutStatus().stream().filter(t -> t.dat() == DAT_CAPABILITY)
                .toList();
    }

    static int u16(byte[] bytes, int offset) {
        return (bytes[offset] & 0xFF) | (bytes[offset + 1] & 0xFF) << 8;
    }

    /** The container of the one MSG_SET that the call sent. */
    static byte[] sentContainer(Runnable call) {
        VirtualScanner.reset();
        call.run();
        List<Triplet> sent = capabilityRequests();
        assertEquals(1, sent.size());
        assertTrue(sent.get(0).is(DG_CONTROL, DAT_CAPABILITY, MSG_SET));
        return sent.get(0).container();
    }

    @Test
    void everyCapabilityMethodOfTheClassIsBound() {
        Set<String> natives = new TreeSet<>();
        for (Method m : TwainEx.class.getDeclaredMethods()) {
            if (Modifier.isNative(m.getModifiers()) && !OTHER_NATIVES.contains(m.getName())) {
                natives.add(m.getName());
            }
        }
        Set<String> bound = new TreeSet<>(GETTERS.keySet());
        bound.addAll(SETTERS.keySet());
        assertEquals(bound, natives);
        assertEquals(27, GETTERS.size());
        assertEquals(20, SETTERS.size());
    }

    @Test
    void withoutAnOpenSourceGettersGiveTheirDefaultAndNothingIsSent() {
        for (boolean registered : new boolean[] {false, true}) {
            if (registered) {
                assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Settings"));
                VirtualScanner.reset();
            }
            for (var getter : GETTERS.entrySet()) {
                assertEquals(getter.getValue().fallback(), call(getter.getKey()), getter.getKey());
            }
            for (String setter : SETTERS.keySet()) {
                assertEquals(false, call(setter, sampleArgument(setter)), setter);
            }
            assertEquals(0, VirtualScanner.log().size());
        }
    }

    @Test
    void eachMethodAsksForItsOwnCapabilityAndItemType() {
        openTheSource();
        for (var getter : GETTERS.entrySet()) {
            VirtualScanner.reset();
            call(getter.getKey());
            List<Triplet> sent = capabilityRequests();
            assertEquals(1, sent.size(), getter.getKey());
            assertTrue(sent.get(0).is(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT));
            byte[] request = sent.get(0).data();
            assertEquals(getter.getValue().capability(), u16(request, 0), getter.getKey());
            assertEquals(TWON_ONEVALUE, u16(request, 2), getter.getKey());
        }
        for (var setter : SETTERS.entrySet()) {
            byte[] container = sentContainer(() -> call(setter.getKey(),
                    sampleArgument(setter.getKey())));
            Triplet sent = capabilityRequests().get(0);
            assertEquals(setter.getValue().capability(), u16(sent.data(), 0), setter.getKey());
            assertEquals(TWON_ONEVALUE, u16(sent.data(), 2), setter.getKey());
            assertEquals(6, container.length, setter.getKey());
            assertEquals(setter.getValue().itemType(), u16(container, 0), setter.getKey());
        }
    }

    @Test
    void settersSendTheirValueByteForByte() {
        openTheSource();
        assertArrayEquals(new byte[] {4, 0, 1, 0, 0, 0},
                sentContainer(() -> TwainEx.setAutoFeed(true)));
        assertArrayEquals(new byte[] {4, 0, 0, 0, 0, 0},
                sentContainer(() -> TwainEx.setAutoFeed(false)));
        assertArrayEquals(new byte[] {4, 0, (byte) 0xFF, (byte) 0xFF, 0, 0},
                sentContainer(() -> TwainEx.setTransferCount(-1)));
        assertArrayEquals(new byte[] {4, 0, 8, 0, 0, 0},
                sentContainer(() -> TwainEx.setBitDepth(65536 + 8)));
        assertArrayEquals(new byte[] {7, 0, 0x2C, 0x01, 0, 0},
                sentContainer(() -> TwainEx.setXResolution(300.0)));
        assertArrayEquals(new byte[] {7, 0, (byte) 0xF3, (byte) 0xFF, 0, (byte) 0xC0},
                sentContainer(() -> TwainEx.setBrightness(-12.25)));
        assertArrayEquals(new byte[] {7, 0, 0, 0, (byte) 0x9A, 0x19},
                sentContainer(() -> TwainEx.setContrast(0.1)));
        assertEquals(0.100006103515625, TwainEx.getContrast());
    }

    @Test
    void valuesOfTheVirtualSource() {
        VirtualScanner.setKnob("feeder.sheets", 2);
        openTheSource();
        assertEquals(100.0, TwainEx.getXResolution()); // from a TW_ENUMERATION
        assertEquals((short) 2, TwainEx.getPixelType());
        assertEquals(65535, TwainEx.getTransferCount()); // -1 as a TWTY_INT16
        assertEquals(8.5, TwainEx.getPhysicalWidth());
        // Flags the source reports as TWTY_BOOL, as the standard has them.
        assertTrue(TwainEx.getAutoFeed());
        assertTrue(TwainEx.isFeederLoaded());
        assertTrue(TwainEx.getCanHideUI());
        assertTrue(TwainEx.isDeviceOnLine());
        assertTrue(TwainEx.getShowIndicators());
        assertFalse(TwainEx.getFeederEnabled());
        assertTrue(TwainEx.setFeederEnabled(true));
        assertTrue(TwainEx.getFeederEnabled());
        assertTrue(TwainEx.setAutoFeed(false));
        assertFalse(TwainEx.getAutoFeed());
    }

    @Test
    void flagsFromSourcesOfBothKinds() {
        openTheSource();
        assertTrue(TwainEx.getAutoFeed()); // TWTY_BOOL in a TW_ONEVALUE
        VirtualScanner.setKnob("CAP_AUTOFEED.container", TWON_ENUMERATION);
        assertTrue(TwainEx.getAutoFeed()); // TWTY_BOOL in a TW_ENUMERATION
        assertTrue(TwainEx.setAutoFeed(false));
        assertFalse(TwainEx.getAutoFeed());
        assertTrue(TwainEx.setAutoFeed(true));

        VirtualScanner.setKnob("CAP_AUTOFEED.itemType", TWTY_UINT16);
        assertTrue(TwainEx.getAutoFeed());
        VirtualScanner.setKnob("CAP_AUTOFEED.container", TWON_ONEVALUE);
        assertTrue(TwainEx.getAutoFeed());
        VirtualScanner.setKnob("CAP_AUTOFEED.item", 0x0100); // a UINT16 flag is its low 8 bits
        assertFalse(TwainEx.getAutoFeed());
        VirtualScanner.setKnob("CAP_AUTOFEED.itemType", TWTY_BOOL);
        assertTrue(TwainEx.getAutoFeed()); // a TW_BOOL is TRUE whatever its bits but 0
        VirtualScanner.setKnob("CAP_AUTOFEED.itemType", TWTY_FIX32);
        assertFalse(TwainEx.getAutoFeed()); // no other type is taken
    }

    @Test
    void answersWithoutAValueGiveTheDefault() {
        openTheSource();
        VirtualScanner.setKnob("ICAP_HIGHLIGHT.container", TWON_RANGE);
        assertEquals(255.0, TwainEx.getHighLight());
        assertEquals(0, TwainEx.getResultCode());
        VirtualScanner.setKnob("ICAP_BITDEPTH.container", TWON_ARRAY);
        assertEquals(1, TwainEx.getBitDepth());
        VirtualScanner.setKnob("ICAP_XRESOLUTION.currentIndex", 7); // one past the last
        assertEquals(0.0, TwainEx.getXResolution());
        VirtualScanner.setKnob("ICAP_XSCALING.blockSize", 5); // too small for its TW_FIX32
        assertEquals(1.0, TwainEx.getXScaling());
        VirtualScanner.script(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, 1, 13, 1);
        assertEquals(65535, TwainEx.getTransferCount());
        assertEquals(1, TwainEx.getResultCode());
        assertEquals(13, TwainEx.getConditionCode());
        VirtualScanner.setKnob("CAP_XFERCOUNT.itemType", TWTY_UINT16); // -1 as TWTY_UINT16
        assertEquals(65535, TwainEx.getTransferCount());
    }

    @Test
    void shortsKeepTheirBitsIntsWidenWithoutSign() {
        openTheSource();
        VirtualScanner.setKnob("ICAP_PIXELTYPE.item", 0x8000);
        assertEquals((short) 0x8000, TwainEx.getPixelType());
        assertTrue(TwainEx.getPixelType() < 0);
        VirtualScanner.setKnob("ICAP_BITDEPTH.item", 0x8000);
        assertEquals(0x8000, TwainEx.getBitDepth());
    }
}
