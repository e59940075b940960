package scanlink.session;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static scanlink.testsupport.Twain.*;

import QZ.korvel.twain.BufferedImageConsumer;
import QZ.korvel.twain.TwainEx;
import java.awt.image.ImageConsumer;
import java.lang.reflect.InvocationTargetException;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.util.ArrayList;
import java.util.Comparator;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.extension.ExtendWith;
import scanlink.testsupport.CleanSession;
import scanlink.virtualscanner.VirtualScanner;

/**
 * Every native method, called in every state the session can be brought to, with null, zero and
 * extreme arguments: none may crash the VM, leak a handle, or leave an exception of the library's
 * own behind other than the delivery failures it documents.
 */
@ExtendWith(CleanSession.class)
class NativeSweepTest {
    static final Object[] INTS = {0, -1, Integer.MIN_VALUE, Integer.MAX_VALUE, 65536 + 8};
    static final Object[] SHORTS = {(short) 0, (short) -1, Short.MIN_VALUE, Short.MAX_VALUE};
    static final Object[] DOUBLES = {0.0, -0.5, Double.NaN, Double.POSITIVE_INFINITY,
            Double.NEGATIVE_INFINITY, 1e300, -1e300, Double.MIN_VALUE};
    static final Object[] BOOLEANS = {true, false};
    static final Object[] STRINGS = {null, "", "\u65e5\u672c\ud83d\ude00\u00ff", "x".repeat(5000)};
    static final Object[] CONSUMERS = {null, new BufferedImageConsumer()};

    /**
     * The states a call can meet: nothing loaded, manager open, source open, source enabled, a
     * transfer announced (its reset refused), a transfer not ended (its end refused).
     */
    static final int[] STATES = {1, 3, 4, 5, 6, 7};

    static Object[] values(Class<?> type) {
        if (type == int.class) return INTS;
        if (type == short.class) return SHORTS;
        if (type == double.class) return DOUBLES;
        if (type == boolean.class) return BOOLEANS;
        if (type == String.class) return STRINGS;
        if (type == ImageConsumer.class) return CONSUMERS;
        throw new AssertionError("no values for " + type);
    }

    /** Argument lists that together use every value of every parameter at least once. */
    static List<Object[]> argumentLists(Method method) {
        Class<?>[] types = method.getParameterTypes();
        int rounds = 1;
        for (Class<?> type : types) {
            rounds = Math.max(rounds, values(type).length);
        }
        List<Object[]> lists = new ArrayList<>();
        for (int round = 0; round < rounds; round++) {
            Object[] args = new Object[types.length];
            for (int i = 0; i < types.length; i++) {
                Object[] candidates = values(types[i]);
                args[i] = candidates[(round + i) % candidates.length];
            }
            lists.add(args);
        }
        return lists;
    }

    static void bringTo(int state) {
        TwainEx.unregister();
        VirtualScanner.powerCycle();
        VirtualScanner.reset();
        // A feeder of sheets, so that transfers are still pending after a page.
        VirtualScanner.setKnob("feeder.sheets", 5);
        if (state >= 3) assertTrue(TwainEx.register(1, 0, "scanlink32", "Tests", "Sweep"));
        if (state >= 4) {
            assertTrue(TwainEx.openSource());
            assertTrue(TwainEx.setXResolution(75));
            assertTrue(TwainEx.setFeederEnabled(true));
            assertTrue(TwainEx.setFrame(0, 0, 1, 1));
        }
        if (state >= 5) assertTrue(TwainEx.prepareTransfer());
        if (state >= 6) {
            int msg = state == 6 ? MSG_RESET : MSG_ENDXFER;
            VirtualScanner.script(DG_CONTROL, DAT_PENDINGXFERS, msg, TWRC_FAILURE, TWCC_BUMMER, 2);
            assertTrue(TwainEx.acquireImage(new BufferedImageConsumer()));
        }
        assertEquals(state, TwainEx.getState());
    }

    @Test
    void everyNativeInEveryStateWithHostileArguments() throws Exception {
        List<Method> natives = new ArrayList<>();
        for (Method method : TwainEx.class.getDeclaredMethods()) {
            if (Modifier.isNative(method.getModifiers())) natives.add(method);
        }
        natives.sort(Comparator.comparing(Method::getName));
        assertEquals(65, natives.size());
        int calls = 0;
        for (int state : STATES) {
            for (Method method : natives) {
                for (Object[] args : argumentLists(method)) {
                    bringTo(state);
                    try {
                        method.invoke(null, args);
                    } catch (InvocationTargetException e) {
                        // Only a delivery may fail with an exception, and only as documented.
                        assertEquals("acquireImage", method.getName(), e.getCause().toString());
                        assertEquals("Invalid consumer!", e.getCause().getMessage());
                    }
                    calls++;
                }
            }
        }
        assertTrue(calls > STATES.length * 65);
    }
}
