// How each source answers capability reads: ranges and enumerations, the operations it supports,
// and MSG_SET with an enumeration or array restricting what it offers until MSG_RESET.
#include <gtest/gtest.h>

#include <iterator>

#include "capability_request.h"

namespace {

class CapabilityAnswers : public ::testing::Test {
  protected:
    void open(const char* name) {
        ASSERT_EQ(app.openManager(), TWRC_SUCCESS);
        ASSERT_EQ(openByName(app, name), TWRC_SUCCESS);
    }
    App app;
};

// The flatbed lists the resolutions it scans at, and nothing else: a value between them goes to
// the nearest listed one, and a value it lists is taken as it is.
TEST_F(CapabilityAnswers, TheFlatbedListsExactlyTheResolutionsItScansAt) {
    open("Virtual Scanner");
    const Answer list = ask(app, MSG_GET, ICAP_XRESOLUTION);
    ASSERT_EQ(list.conType, TWON_ENUMERATION);
    const double offered[] = {75, 100, 150, 200, 300, 400, 600};
    ASSERT_EQ(list.bytes.size(), 14u + std::size(offered) * 4);
    EXPECT_EQ(list.u16(0), TWTY_FIX32);
    ASSERT_EQ(list.u32(2), std::size(offered));
    EXPECT_EQ(list.u32(6), 1u);  // 100
    EXPECT_EQ(list.u32(10), 1u);
    for (size_t i = 0; i < std::size(offered); ++i) {
        EXPECT_EQ(list.u32(14 + 4 * i), fix32Bits(offered[i])) << i;
        EXPECT_EQ(setCapability(app, ICAP_XRESOLUTION, TWON_ONEVALUE,
                                oneValue(TWTY_FIX32, item(fix32Bits(offered[i]), 4))),
                  TWRC_SUCCESS)
            << offered[i];
    }
    // 175 is not among them: the source takes the nearest, 150, and says so.
    EXPECT_EQ(setCapability(app, ICAP_XRESOLUTION, TWON_ONEVALUE,
                            oneValue(TWTY_FIX32, item(fix32Bits(175), 4))),
              TWRC_CHECKSTATUS);
    EXPECT_EQ(ask(app, MSG_GETCURRENT, ICAP_XRESOLUTION).u32(6), 2u);  // 150
    // Restricted to some of its resolutions, it lists those until reset.
    ASSERT_EQ(setCapability(app, ICAP_XRESOLUTION, TWON_ARRAY,
                            array(TWTY_FIX32, {item(fix32Bits(200), 4), item(fix32Bits(400), 4)})),
              TWRC_SUCCESS);
    EXPECT_EQ(ask(app, MSG_GET, ICAP_XRESOLUTION).u32(2), 2u);
    EXPECT_EQ(ask(app, MSG_RESET, ICAP_XRESOLUTION).result, TWRC_SUCCESS);
    EXPECT_EQ(ask(app, MSG_GET, ICAP_XRESOLUTION).u32(2), std::size(offered));
}

TEST_F(CapabilityAnswers, TheDuplexFeederListsItsResolutionsAndPixelTypes) {
    open("Virtual Duplex Feeder");
    const Answer list = ask(app, MSG_GET, ICAP_YRESOLUTION);
    ASSERT_EQ(list.conType, TWON_ENUMERATION);
    ASSERT_EQ(list.bytes.size(), 14u + 5 * 4);
    ASSERT_EQ(list.u32(2), 5u);
    EXPECT_EQ(list.u32(6), 2u);  // 200
    EXPECT_EQ(list.u32(10), 2u);
    const double offered[] = {100, 150, 200, 300, 600};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(list.u32(14 + 4 * i), fix32Bits(offered[i])) << i;
    }
    const Answer types = ask(app, MSG_GET, ICAP_PIXELTYPE);
    ASSERT_EQ(types.conType, TWON_ENUMERATION);
    EXPECT_EQ(types.u32(2), 3u);
    EXPECT_EQ(types.u32(6), 2u);  // RGB
}

TEST_F(CapabilityAnswers, QuerySupportGivesTheOperationsEachCapabilityTakes) {
    open("Virtual Duplex Feeder");
    const TW_INT32 reads = TWQC_GET | TWQC_GETCURRENT | TWQC_GETDEFAULT;
    const struct {
        TW_UINT16 cap;
        TW_INT32 bits;
    } expected[] = {
        {ICAP_XRESOLUTION, reads | TWQC_SET | TWQC_RESET},
        {CAP_DUPLEXENABLED, reads | TWQC_SET | TWQC_RESET},
        {CAP_DUPLEX, reads},
        {CAP_SERIALNUMBER, reads},
        {CAP_SUPPORTEDCAPS, reads},
        {CAP_AUTHOR, reads | TWQC_SET | TWQC_RESET},
    };
    for (const auto& e : expected) {
        const Answer support = ask(app, MSG_QUERYSUPPORT, e.cap);
        ASSERT_EQ(support.result, TWRC_SUCCESS) << e.cap;
        EXPECT_EQ(support.conType, TWON_ONEVALUE);
        ASSERT_EQ(support.bytes.size(), 6u);
        EXPECT_EQ(support.u16(0), TWTY_INT32);
        EXPECT_EQ(static_cast<TW_INT32>(support.u32(2)), e.bits) << e.cap;
    }
    EXPECT_EQ(ask(app, MSG_QUERYSUPPORT, CAP_FEEDPAGE).result, TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_CAPUNSUPPORTED);
}

TEST_F(CapabilityAnswers, TheDuplexFeederListsEveryCapabilityItAnswers) {
    open("Virtual Duplex Feeder");
    const Answer supported = ask(app, MSG_GET, CAP_SUPPORTEDCAPS);
    ASSERT_EQ(supported.conType, TWON_ARRAY);
    const uint32_t count = supported.u32(2);
    ASSERT_EQ(supported.bytes.size(), 6u + 2 * count);
    for (uint32_t i = 0; i < count; ++i) {
        const TW_UINT16 cap = supported.u16(6 + 2 * i);
        EXPECT_EQ(ask(app, MSG_GETCURRENT, cap).result, TWRC_SUCCESS) << cap;
    }
    for (TW_UINT16 cap :
         {CAP_DUPLEX, CAP_DUPLEXENABLED, ICAP_FRAMES, TW_UINT16{0x8001}, TW_UINT16{0x8004}}) {
        bool listed = false;
        for (uint32_t i = 0; i < count; ++i) {
            listed = listed || supported.u16(6 + 2 * i) == cap;
        }
        EXPECT_TRUE(listed) << cap;
    }
}

TEST_F(CapabilityAnswers, QuerySupportOfAFeederCommandHasNoReset) {
    open("Virtual Scanner");
    EXPECT_EQ(static_cast<TW_INT32>(ask(app, MSG_QUERYSUPPORT, CAP_FEEDPAGE).u32(2)),
              TWQC_GET | TWQC_GETCURRENT | TWQC_GETDEFAULT | TWQC_SET);
    vscan_script(DG_CONTROL, DAT_CAPABILITY, MSG_QUERYSUPPORT, TWRC_FAILURE, TWCC_BUMMER, 1);
    EXPECT_EQ(ask(app, MSG_QUERYSUPPORT, CAP_FEEDPAGE).result, TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_BUMMER);
}

TEST_F(CapabilityAnswers, AnEnumerationRestrictsTheOffersUntilReset) {
    open("Virtual Duplex Feeder");
    const Bytes choice =
        enumeration(TWTY_FIX32, {item(fix32Bits(150), 4), item(fix32Bits(300), 4)}, 1);
    ASSERT_EQ(setCapability(app, ICAP_XRESOLUTION, TWON_ENUMERATION, choice), TWRC_SUCCESS);
    Answer list = ask(app, MSG_GET, ICAP_XRESOLUTION);
    ASSERT_EQ(list.conType, TWON_ENUMERATION);
    ASSERT_EQ(list.u32(2), 2u);
    EXPECT_EQ(list.u32(6), 1u);
    EXPECT_EQ(list.u32(14), fix32Bits(150));
    EXPECT_EQ(list.u32(18), fix32Bits(300));
    // A value outside the restriction goes to the nearest one left.
    EXPECT_EQ(setCapability(app, ICAP_XRESOLUTION, TWON_ONEVALUE,
                            oneValue(TWTY_FIX32, item(fix32Bits(600), 4))),
              TWRC_CHECKSTATUS);
    EXPECT_EQ(ask(app, MSG_GETCURRENT, ICAP_XRESOLUTION).u32(6), 1u);

    const Answer reset = ask(app, MSG_RESET, ICAP_XRESOLUTION);
    EXPECT_EQ(reset.result, TWRC_SUCCESS);
    list = ask(app, MSG_GET, ICAP_XRESOLUTION);
    EXPECT_EQ(list.u32(2), 5u);
    EXPECT_EQ(list.u32(14 + 4 * list.u32(6)), fix32Bits(200));
}

TEST_F(CapabilityAnswers, AnArrayRestrictsWithItsFirstItemCurrent) {
    open("Virtual Scanner");
    const Bytes types = array(TWTY_UINT16, {item(TWPT_GRAY, 2), item(TWPT_BW, 2)});
    ASSERT_EQ(setCapability(app, ICAP_PIXELTYPE, TWON_ARRAY, types), TWRC_SUCCESS);
    const Answer list = ask(app, MSG_GET, ICAP_PIXELTYPE);
    ASSERT_EQ(list.u32(2), 2u);
    EXPECT_EQ(list.u32(6), 0u);
    EXPECT_EQ(list.u16(14), TWPT_GRAY);
    EXPECT_EQ(list.u16(16), TWPT_BW);
    EXPECT_EQ(
        setCapability(app, ICAP_PIXELTYPE, TWON_ONEVALUE, oneValue(TWTY_UINT16, item(TWPT_RGB, 2))),
        TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_BADVALUE);
    ask(app, MSG_RESET, ICAP_PIXELTYPE);
    EXPECT_EQ(ask(app, MSG_GET, ICAP_PIXELTYPE).u32(2), 3u);
}

TEST_F(CapabilityAnswers, ARestrictionOfValuesTheDeviceLacksOrOfBadShapeIsRefused) {
    open("Virtual Duplex Feeder");
    const Bytes unknown =
        enumeration(TWTY_FIX32, {item(fix32Bits(150), 4), item(fix32Bits(250), 4)}, 0);
    EXPECT_EQ(setCapability(app, ICAP_XRESOLUTION, TWON_ENUMERATION, unknown), TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_BADVALUE);
    // The current index past the items, and a block one byte short of its last item.
    Bytes pastEnd = enumeration(TWTY_FIX32, {item(fix32Bits(150), 4)}, 1);
    EXPECT_EQ(setCapability(app, ICAP_XRESOLUTION, TWON_ENUMERATION, pastEnd), TWRC_FAILURE);
    Bytes cut = array(TWTY_FIX32, {item(fix32Bits(150), 4), item(fix32Bits(300), 4)});
    cut.pop_back();
    EXPECT_EQ(setCapability(app, ICAP_XRESOLUTION, TWON_ARRAY, cut), TWRC_FAILURE);
    cut.push_back(0);
    EXPECT_EQ(setCapability(app, ICAP_XRESOLUTION, TWON_ARRAY, cut), TWRC_SUCCESS);
    // 0x40000001 items of 4 bytes: 4 bytes once the size wraps in 32 bits.
    Bytes huge = array(TWTY_FIX32, {item(fix32Bits(150), 4)});
    huge[2] = 0x01;
    huge[5] = 0x40;
    EXPECT_EQ(setCapability(app, ICAP_XRESOLUTION, TWON_ARRAY, huge), TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_BADVALUE);
    // A capability with a range takes no list.
    EXPECT_EQ(setCapability(app, CAP_ALARMVOLUME, TWON_ARRAY, array(TWTY_INT32, {item(5, 4)})),
              TWRC_FAILURE);
}

}  // namespace
