package scanlink.scan.check;

import QZ.korvel.twain.Capability;
import QZ.korvel.twain.CapabilityOperation;
import QZ.korvel.twain.CapabilityQuery;
import QZ.korvel.twain.CapabilityQuery.Message;
import QZ.korvel.twain.CapabilityValue;
import QZ.korvel.twain.ContainerKind;
import QZ.korvel.twain.ItemType;
import java.util.ArrayList;
import java.util.EnumMap;
import java.util.EnumSet;
import java.util.List;
import java.util.Map;
import java.util.Set;

/**
 * Every capability that CAP_SUPPORTEDCAPS lists, a check each: read with MSG_GET, MSG_GETCURRENT,
 * MSG_GETDEFAULT and MSG_QUERYSUPPORT; the current and default values among those allowed; the
 * item type the standard gives; MSG_RESET giving the default; and MSG_QUERYSUPPORT agreeing with
 * the messages the source answers.
 */
final class CapabilityChecks {
    private static final Map<Message, CapabilityOperation> OPERATION = new EnumMap<>(Map.of(
            Message.GET, CapabilityOperation.GET,
            Message.GET_CURRENT, CapabilityOperation.GET_CURRENT,
            Message.GET_DEFAULT, CapabilityOperation.GET_DEFAULT));

    private final Checks checks;
    private final Capability capability;
    private final Map<Message, Steps.Outcome<CapabilityValue>> answers = new EnumMap<>(Message.class);
    private final List<String> triplets = new ArrayList<>();
    private CheckResult check;

    private CapabilityChecks(Checks checks, Capability capability) {
        this.checks = checks;
        this.capability = capability;
    }

    /** The capabilities the source lists, in its order; empty when it lists none. */
    static List<Capability> run(Checks checks) {
        List<Capability> listed = new ArrayList<>();
        checks.check("capability CAP_SUPPORTEDCAPS", check -> {
            CapabilityValue list = checks.steps().require("reading CAP_SUPPORTEDCAPS with MSG_GET",
                    () -> read(checks, Capability.CAP_SUPPORTEDCAPS, Message.GET), check);
            for (Object id : list.values()) {
                listed.add(Capability.of(((Number) id).intValue()));
            }
            check.add(new Finding(listed.isEmpty() ? Verdict.FAIL : Verdict.PASS,
                    listed.isEmpty() ? "CAP_SUPPORTEDCAPS lists no capability"
                                     : "lists " + listed.size() + " capabilities",
                    checks.steps().triplets()));
        });
        for (Capability capability : listed) {
            if (capability.id() != Capability.CAP_SUPPORTEDCAPS.id()) {
                checks.check("capability " + capability.name(),
                        check -> new CapabilityChecks(checks, capability).check(check));
            }
        }
        return listed;
    }

    private static CapabilityValue read(Checks checks, Capability capability, Message message)
            throws Exception {
        return OnSession.run(checks.session(), () -> CapabilityQuery.read(capability, message));
    }

    private void check(CheckResult result) throws Exception {
        check = result;
        for (Message message : List.of(Message.GET, Message.GET_CURRENT, Message.GET_DEFAULT,
                     Message.QUERY_SUPPORT)) {
            answers.put(message, ask(message));
        }
        Set<CapabilityOperation> claimed = claimedOperations();
        answered(claimed);
        itemTypes();
        CapabilityValue allowed = value(Message.GET);
        if (allowed != null) {
            among(allowed, "current", value(Message.GET_CURRENT), false);
            among(allowed, "default", value(Message.GET_DEFAULT), true);
        }
        if (claimed != null && claimed.contains(CapabilityOperation.RESET)) {
            reset();
        }
        if (check.findings().isEmpty()) {
            pass(allowed, claimed);
        }
    }

    private Steps.Outcome<CapabilityValue> ask(Message message) throws Steps.Hung {
        Steps.Outcome<CapabilityValue> outcome = checks.steps().run(
                "MSG_" + message.name().replace("_", ""), () -> read(checks, capability, message));
        triplets.addAll(outcome.triplets());
        return outcome;
    }

    private CapabilityValue value(Message message) {
        Steps.Outcome<CapabilityValue> outcome = answers.get(message);
        return outcome != null && !outcome.failed() ? outcome.value() : null;
    }

    /** The operations MSG_QUERYSUPPORT lists, or null when the source does not tell. */
    private Set<CapabilityOperation> claimedOperations() {
        Steps.Outcome<CapabilityValue> query = answers.get(Message.QUERY_SUPPORT);
        if (query.failed()) {
            if (malformed(query.failure())) {
                fail("MSG_QUERYSUPPORT: " + Steps.message(query.failure()));
            } else {
                warn("the source does not answer MSG_QUERYSUPPORT (" + Steps.message(query.failure())
                        + "); sources of TWAIN 1.x need not");
            }
            return null;
        }
        Object bits = query.value().current();
        if (!(bits instanceof Number)) {
            fail("MSG_QUERYSUPPORT answers " + query.value() + ", not the TWQC_ bits as TWTY_INT32");
            return null;
        }
        long mask = ((Number) bits).longValue();
        Set<CapabilityOperation> operations = EnumSet.noneOf(CapabilityOperation.class);
        for (CapabilityOperation operation : CapabilityOperation.values()) {
            if ((mask & operation.bit()) != 0) {
                operations.add(operation);
            }
        }
        return operations;
    }

    /** Each read answered, and as MSG_QUERYSUPPORT says. */
    private void answered(Set<CapabilityOperation> claimed) {
        for (Map.Entry<Message, CapabilityOperation> read : OPERATION.entrySet()) {
            Steps.Outcome<CapabilityValue> outcome = answers.get(read.getKey());
            String name = "MSG_" + read.getKey().name().replace("_", "");
            boolean says = claimed != null && claimed.contains(read.getValue());
            if (outcome.failed()) {
                boolean required = read.getKey() == Message.GET || says
                        || malformed(outcome.failure());
                String text = name + " failed: " + Steps.message(outcome.failure())
                        + (says ? ", though MSG_QUERYSUPPORT lists TWQC_" + read.getValue() : "");
                if (required) {
                    fail(text);
                } else {
                    warn(text);
                }
            } else if (claimed != null && !says) {
                fail(name + " is answered, but MSG_QUERYSUPPORT does not list TWQC_"
                        + read.getValue());
            }
        }
    }

    /** The item type the standard gives, in every container answered. */
    private void itemTypes() {
        ItemType standard = capability.itemType();
        if (standard == null) {
            return;
        }
        for (Message message : OPERATION.keySet()) {
            CapabilityValue value = value(message);
            if (value != null && value.itemType() != standard) {
                fail("MSG_" + message.name().replace("_", "") + " answers items of TWTY_"
                        + value.itemType() + "; the standard gives TWTY_" + standard);
            }
        }
    }

    private void among(CapabilityValue allowed, String what, CapabilityValue answer,
            boolean defaultValue) {
        if (answer == null || allowed.kind() == ContainerKind.ARRAY) {
            return;
        }
        if (allowed.kind() == ContainerKind.RANGE) {
            Double step = Values.number(allowed.step());
            if (step == null || step <= 0) {
                fail("MSG_GET answers a range with StepSize " + allowed.step()
                        + ", which cannot be stepped through");
                return;
            }
        }
        Object value = Values.of(answer, defaultValue);
        String why = Values.outside(allowed, value);
        if (why != null) {
            fail("the " + what + " value " + value + " is " + why + " (" + allowed + ")");
        }
    }

    private void reset() throws Steps.Hung {
        Steps.Outcome<CapabilityValue> reset = ask(Message.RESET);
        if (reset.failed()) {
            fail("MSG_RESET failed, though MSG_QUERYSUPPORT lists TWQC_RESET: "
                    + Steps.message(reset.failure()));
            return;
        }
        CapabilityValue defaultAnswer = value(Message.GET_DEFAULT);
        if (defaultAnswer == null) {
            return;
        }
        Object expected = Values.of(defaultAnswer, true);
        Object after = Values.of(reset.value(), false);
        if (!Values.same(expected, after)) {
            fail("MSG_RESET answers " + after + ", not the default " + expected);
        }
        Steps.Outcome<CapabilityValue> current = ask(Message.GET_CURRENT);
        if (!current.failed() && !Values.same(expected, Values.of(current.value(), false))) {
            fail("after MSG_RESET, MSG_GETCURRENT answers " + Values.of(current.value(), false)
                    + ", not the default " + expected);
        }
    }

    private void pass(CapabilityValue allowed, Set<CapabilityOperation> claimed) {
        check.add(new Finding(Verdict.PASS, (allowed != null ? allowed.toString() : "")
                + (claimed != null ? "; MSG_QUERYSUPPORT lists " + claimed : ""), triplets));
    }

    private static boolean malformed(Exception failure) {
        return failure.getMessage() != null && failure.getMessage().contains("malformed");
    }

    private void fail(String text) {
        check.add(new Finding(Verdict.FAIL, text, triplets));
    }

    private void warn(String text) {
        check.add(new Finding(Verdict.WARN, text, triplets));
    }
}
