#include <cstring>

#include "platform_probe.h"
#include "session/acquisition.h"
#include "session/dsm_binding.h"
#include "session/twain_session.h"
#include "settings/capability_access.h"
#include "settings_support.h"

namespace {

class CapabilityAccess : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        openDemoSource();
        resetScanner();
    }
};

using Bytes = std::vector<uint8_t>;

TW_CAPABILITY capabilityOf(const Triplet& t) {
    TW_CAPABILITY capability = {};
    EXPECT_EQ(t.data.size(), sizeof(capability));
    std::memcpy(&capability, t.data.data(), std::min(t.data.size(), sizeof(capability)));
    return capability;
}

using CapabilityAccessWithoutSource = Scenario;

TEST_F(CapabilityAccessWithoutSource, NothingIsSent) {
    ASSERT_TRUE(registerDemo());
    resetScanner();
    twainSession.resultCode = 7;
    twainSession.conditionCode = 9;
    TW_UINT16 value = 0x1234;
    EXPECT_FALSE(getCapabilityValue(ICAP_PIXELTYPE, TWTY_UINT16, &value));
    EXPECT_FALSE(getFlagValue(CAP_AUTOFEED, &value));
    EXPECT_FALSE(setCapabilityValue(ICAP_PIXELTYPE, TWTY_UINT16, 1));
    EXPECT_EQ(value, 0x1234);
    EXPECT_EQ(vscan_logSize(), 0u);
    EXPECT_EQ(twainSession.resultCode, 7);
    EXPECT_EQ(twainSession.conditionCode, 9);
}

TEST_F(CapabilityAccess, WriteSendsOneValueAndFreesItWhateverTheAnswer) {
    EXPECT_TRUE(setCapabilityValue(CAP_AUTOFEED, TWTY_UINT16, 1));
    vscan_script(DG_CONTROL, DAT_CAPABILITY, MSG_SET, TWRC_FAILURE, TWCC_BADVALUE, 1);
    EXPECT_FALSE(setCapabilityValue(ICAP_BRIGHTNESS, TWTY_FIX32, 0xC000FFF3));
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_BADVALUE);
    EXPECT_EQ(liveGlobalHandles(), 0u);

    const auto sent = requests();
    ASSERT_EQ(sent.size(), 2u) << requestNames();
    for (const Triplet& t : sent) {
        EXPECT_TRUE(t.is(DG_CONTROL, DAT_CAPABILITY, MSG_SET));
        EXPECT_EQ(capabilityOf(t).ConType, TWON_ONEVALUE);
        EXPECT_EQ(t.header.destinationId, twainSession.sourceIdentity.Id);
    }
    EXPECT_EQ(capabilityOf(sent[0]).Cap, CAP_AUTOFEED);
    EXPECT_EQ(sent[0].container, (Bytes{0x04, 0x00, 0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(capabilityOf(sent[1]).Cap, ICAP_BRIGHTNESS);
    EXPECT_EQ(sent[1].container, (Bytes{0x07, 0x00, 0xF3, 0xFF, 0x00, 0xC0}));
}

TEST_F(CapabilityAccess, ReadAsksForTheCurrentValueAndFreesTheAnswer) {
    TW_FIX32 highlight = {};
    ASSERT_TRUE(getCapabilityValue(ICAP_HIGHLIGHT, TWTY_FIX32, &highlight));  // a TW_ONEVALUE
    EXPECT_EQ(fromFix32(highlight), 255.0);
    TW_FIX32 resolution = {};
    ASSERT_TRUE(getCapabilityValue(ICAP_XRESOLUTION, TWTY_FIX32, &resolution));  // enumeration
    EXPECT_EQ(fromFix32(resolution), 100.0);
    EXPECT_EQ(liveGlobalHandles(), 0u);

    const auto sent = requests();
    ASSERT_EQ(sent.size(), 2u) << requestNames();
    EXPECT_TRUE(sent[0].is(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT));
    const TW_CAPABILITY asked = capabilityOf(sent[0]);
    EXPECT_EQ(asked.Cap, ICAP_HIGHLIGHT);
    EXPECT_EQ(asked.ConType, TWON_ONEVALUE);
    EXPECT_FALSE(asked.hContainer);
}

TEST_F(CapabilityAccess, ReadsInEveryStateFromFourToSevenButWritesOnlyWhereTheSourceSays) {
    ASSERT_TRUE(prepareTransfer());
    TW_UINT16 pixelType = 0xFFFF;
    EXPECT_TRUE(getCapabilityValue(ICAP_PIXELTYPE, TWTY_UINT16, &pixelType));
    EXPECT_EQ(pixelType, TWPT_RGB);
    EXPECT_FALSE(setCapabilityValue(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_GRAY));
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_SEQERROR);
    EXPECT_EQ(requests().size(), 3u) << requestNames();
}

TEST_F(CapabilityAccess, IntegersOfTheSameSizeAreCopiedOtherTypesAreNot) {
    setCapabilityKnob("ICAP_BITDEPTH", "container", TWON_ONEVALUE);
    setCapabilityKnob("ICAP_BITDEPTH", "itemType", TWTY_INT16);
    setCapabilityKnob("ICAP_BITDEPTH", "item", 0xFFFF);
    TW_UINT16 value = 0;
    EXPECT_TRUE(getCapabilityValue(ICAP_BITDEPTH, TWTY_UINT16, &value));
    EXPECT_EQ(value, 0xFFFF);

    for (TW_UINT16 other : {TWTY_BOOL, TWTY_UINT32, TWTY_UINT8, TWTY_FIX32}) {
        setCapabilityKnob("ICAP_BITDEPTH", "itemType", other);
        value = 0x5A5A;
        EXPECT_FALSE(getCapabilityValue(ICAP_BITDEPTH, TWTY_UINT16, &value)) << "type " << other;
        EXPECT_EQ(value, 0x5A5A);
        EXPECT_EQ(twainSession.resultCode, TWRC_SUCCESS);
    }
}

TEST_F(CapabilityAccess, EnumerationGivesTheItemAtItsCurrentIndex) {
    // The source lists BW, GRAY and RGB with RGB current; its item at offset 18 is replaced.
    setCapabilityKnob("ICAP_PIXELTYPE", "item", 0xABCD);
    TW_UINT16 value = 0;
    ASSERT_TRUE(getCapabilityValue(ICAP_PIXELTYPE, TWTY_UINT16, &value));
    EXPECT_EQ(value, 0xABCD);
    SourceAnswer answer = askSource(MSG_GETCURRENT, ICAP_PIXELTYPE);
    ASSERT_EQ(answer.conType, TWON_ENUMERATION);
    EXPECT_EQ(answer.u32(2), 3u);
    EXPECT_EQ(answer.u32(6), 2u);
    EXPECT_EQ(answer.u16(18), 0xABCD);

    for (int64_t index : {3LL, 0xFFFFFFFFLL}) {
        setCapabilityKnob("ICAP_PIXELTYPE", "currentIndex", index);
        value = 0x5A5A;
        EXPECT_FALSE(getCapabilityValue(ICAP_PIXELTYPE, TWTY_UINT16, &value)) << index;
        EXPECT_EQ(value, 0x5A5A);
    }
}

// With room after the list, only the index itself tells that it points past the last item.
TEST_F(CapabilityAccess, EnumerationIndexEqualToItsItemCountGivesNoValueWhateverFollows) {
    setCapabilityKnob("ICAP_PIXELTYPE", "blockSize", 64);
    TW_UINT16 value = 0x5A5A;
    setCapabilityKnob("ICAP_PIXELTYPE", "currentIndex", 2);
    EXPECT_TRUE(getCapabilityValue(ICAP_PIXELTYPE, TWTY_UINT16, &value));
    EXPECT_EQ(value, TWPT_RGB);
    value = 0x5A5A;
    setCapabilityKnob("ICAP_PIXELTYPE", "currentIndex", 3);
    EXPECT_FALSE(getCapabilityValue(ICAP_PIXELTYPE, TWTY_UINT16, &value));
    EXPECT_EQ(value, 0x5A5A);
    EXPECT_EQ(liveGlobalHandles(), 0u);
}

TEST_F(CapabilityAccess, BoolFlagsAreReadAsTheirValueOnlyByTheFlagRead) {
    TW_UINT16 flag = 0x5A5A;
    ASSERT_TRUE(getFlagValue(CAP_AUTOFEED, &flag));  // TWTY_BOOL, TRUE by default
    EXPECT_EQ(flag, 1);
    EXPECT_FALSE(getCapabilityValue(CAP_AUTOFEED, TWTY_UINT16, &flag));
    ASSERT_TRUE(setCapabilityValue(CAP_AUTOFEED, TWTY_UINT16, 0));
    ASSERT_TRUE(getFlagValue(CAP_AUTOFEED, &flag));
    EXPECT_EQ(flag, 0);

    setCapabilityKnob("CAP_AUTOFEED", "container", TWON_ENUMERATION);
    setCapabilityKnob("CAP_AUTOFEED", "item", 0x0100);  // any TW_BOOL but 0 is TRUE
    ASSERT_TRUE(getFlagValue(CAP_AUTOFEED, &flag));
    EXPECT_EQ(flag, 1);

    setCapabilityKnob("CAP_AUTOFEED", "itemType", TWTY_UINT16);  // a UINT16 keeps its 16 bits
    ASSERT_TRUE(getFlagValue(CAP_AUTOFEED, &flag));
    EXPECT_EQ(flag, 0x0100);

    for (TW_UINT16 other : {TWTY_UINT32, TWTY_FIX32, TWTY_UINT8}) {
        setCapabilityKnob("CAP_AUTOFEED", "itemType", other);
        flag = 0x5A5A;
        EXPECT_FALSE(getFlagValue(CAP_AUTOFEED, &flag)) << "type " << other;
        EXPECT_EQ(flag, 0x5A5A);
    }
}

TEST_F(CapabilityAccess, OtherContainersHoldNoValue) {
    // TW_ARRAY, TW_RANGE, and types the standard does not have.
    for (int64_t container : {3, 6, 0, 9}) {
        setCapabilityKnob("ICAP_HIGHLIGHT", "container", container);
        TW_FIX32 value = toFix32(-1.0);
        EXPECT_FALSE(getCapabilityValue(ICAP_HIGHLIGHT, TWTY_FIX32, &value)) << container;
        EXPECT_EQ(fromFix32(value), -1.0);
        EXPECT_EQ(twainSession.resultCode, TWRC_SUCCESS);
        EXPECT_EQ(liveGlobalHandles(), 0u);
    }
}

TEST_F(CapabilityAccess, ReadsStayWithinTheBlock) {
    const struct {
        const char* name;
        TW_UINT16 capability;
        TW_UINT16 itemType;
        int64_t blockSize;
        bool read;
    } cases[] = {
        // A TW_ONEVALUE of TWTY_FIX32: exactly big enough, one byte short, not even an item type.
        {"ICAP_HIGHLIGHT", ICAP_HIGHLIGHT, TWTY_FIX32, 6, true},
        {"ICAP_HIGHLIGHT", ICAP_HIGHLIGHT, TWTY_FIX32, 5, false},
        {"ICAP_HIGHLIGHT", ICAP_HIGHLIGHT, TWTY_FIX32, 1, false},
        {"ICAP_HIGHLIGHT", ICAP_HIGHLIGHT, TWTY_FIX32, 0, false},
        // Three 2-byte items after the 14-byte header, the current one last; the header cut short.
        {"ICAP_PIXELTYPE", ICAP_PIXELTYPE, TWTY_UINT16, 20, true},
        {"ICAP_PIXELTYPE", ICAP_PIXELTYPE, TWTY_UINT16, 19, false},
        {"ICAP_PIXELTYPE", ICAP_PIXELTYPE, TWTY_UINT16, 13, false},
    };
    for (const auto& c : cases) {
        setCapabilityKnob(c.name, "blockSize", c.blockSize);
        uint8_t value[4] = {0xEE, 0xEE, 0xEE, 0xEE};
        EXPECT_EQ(getCapabilityValue(c.capability, c.itemType, value), c.read)
            << c.name << " in " << c.blockSize << " bytes";
        if (!c.read) {
            EXPECT_EQ(value[0], 0xEE);
        }
        EXPECT_EQ(liveGlobalHandles(), 0u);
    }
}

TEST_F(CapabilityAccess, EnumerationOffsetsCannotWrapAround) {
    // 14 + 0x80000000 * 2 wraps to 14 in 32 bits, where the first item (BW, 0) lies.
    setCapabilityKnob("ICAP_PIXELTYPE", "numItems", 0xFFFFFFFF);
    setCapabilityKnob("ICAP_PIXELTYPE", "currentIndex", 0x80000000);
    TW_UINT16 value = 0x5A5A;
    EXPECT_FALSE(getCapabilityValue(ICAP_PIXELTYPE, TWTY_UINT16, &value));
    EXPECT_EQ(value, 0x5A5A);
    // The same for 4-byte items: 14 + 0x40000000 * 4.
    setCapabilityKnob("ICAP_XRESOLUTION", "numItems", 0xFFFFFFFF);
    setCapabilityKnob("ICAP_XRESOLUTION", "currentIndex", 0x40000000);
    TW_FIX32 resolution = toFix32(-1.0);
    EXPECT_FALSE(getCapabilityValue(ICAP_XRESOLUTION, TWTY_FIX32, &resolution));
    EXPECT_EQ(fromFix32(resolution), -1.0);
}

TEST_F(CapabilityAccess, NoContainerOrOneThatCannotBeLockedGivesNoValue) {
    setCapabilityKnob("ICAP_UNITS", "blockSize", -1);  // success, but no handle
    TW_UINT16 value = 0x5A5A;
    EXPECT_FALSE(getCapabilityValue(ICAP_UNITS, TWTY_UINT16, &value));
    EXPECT_EQ(twainSession.resultCode, TWRC_SUCCESS);
    setCapabilityKnob("ICAP_UNITS", "blockSize", -2);  // a window's handle: nothing to lock
    EXPECT_FALSE(getCapabilityValue(ICAP_UNITS, TWTY_UINT16, &value));
    EXPECT_EQ(value, 0x5A5A);
    EXPECT_TRUE(IsWindow(static_cast<HWND>(twainSession.userInterface.hParent)));
}

TEST_F(CapabilityAccess, RefusedReadLeavesTheSourcesCodes) {
    vscan_script(DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT, TWRC_FAILURE, TWCC_CAPUNSUPPORTED, 1);
    TW_UINT16 value = 0x5A5A;
    EXPECT_FALSE(getCapabilityValue(ICAP_UNITS, TWTY_UINT16, &value));
    EXPECT_EQ(value, 0x5A5A);
    EXPECT_EQ(twainSession.resultCode, TWRC_FAILURE);
    EXPECT_EQ(twainSession.conditionCode, TWCC_CAPUNSUPPORTED);
}

}  // namespace
