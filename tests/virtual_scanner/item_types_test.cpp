// Every item type of the standard, set and read back at the byte level on the duplex feeder, and
// the knobs that make the answers malformed in the ways drivers do.
#include <gtest/gtest.h>

#include <string>

#include "capability_request.h"

namespace {

class ItemTypes : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(app.openManager(), TWRC_SUCCESS);
        ASSERT_EQ(openByName(app, "Virtual Duplex Feeder"), TWRC_SUCCESS);
    }
    TW_UINT16 set(TW_UINT16 cap, TW_UINT16 type, const Bytes& value) {
        return setCapability(app, cap, TWON_ONEVALUE, oneValue(type, value));
    }
    App app;
};

constexpr TW_UINT16 kLampOffset = 0x8001;
constexpr TW_UINT16 kGammaLevel = 0x8002;
constexpr TW_UINT16 kPageCounter = 0x8003;
constexpr TW_UINT16 kJobName = 0x8004;

TEST_F(ItemTypes, IntegersRoundTripAtTheirOwnWidth) {
    const struct {
        TW_UINT16 cap;
        TW_UINT16 type;
        uint32_t bits;
        uint32_t fallback;
    } cases[] = {
        {kLampOffset, TWTY_INT8, 0xFB, 0},  // -5
        {ICAP_JPEGQUALITY, TWTY_INT16, 90, 75},
        {CAP_ALARMVOLUME, TWTY_INT32, 80, 50},
        {kPageCounter, TWTY_UINT32, 0xFEDCBA98, 0},  // beyond INT32
        {CAP_DUPLEXENABLED, TWTY_BOOL, 1, 0},
        {ICAP_THRESHOLD, TWTY_FIX32, fix32Bits(200), fix32Bits(128)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cap);
        const size_t width = c.type == TWTY_INT8                           ? 1
                             : c.type == TWTY_INT16 || c.type == TWTY_BOOL ? 2
                                                                           : 4;
        ASSERT_EQ(set(c.cap, c.type, item(c.bits, width)), TWRC_SUCCESS);
        const Answer current = ask(app, MSG_GETCURRENT, c.cap);
        ASSERT_EQ(current.conType, TWON_ONEVALUE);
        Bytes expected = oneValue(c.type, item(c.bits, 4));
        EXPECT_EQ(current.bytes, expected);
        EXPECT_EQ(ask(app, MSG_GETDEFAULT, c.cap).bytes, oneValue(c.type, item(c.fallback, 4)));
    }
}

TEST_F(ItemTypes, AnUnsignedByteAndAWordAreListedAtTheirWidth) {
    ASSERT_EQ(set(kGammaLevel, TWTY_UINT8, item(192, 1)), TWRC_SUCCESS);
    const Answer levels = ask(app, MSG_GETCURRENT, kGammaLevel);
    ASSERT_EQ(levels.conType, TWON_ENUMERATION);
    EXPECT_EQ(levels.bytes,
              (Bytes{TWTY_UINT8, 0, 5, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 0, 64, 128, 192, 255}));
    EXPECT_EQ(set(kGammaLevel, TWTY_UINT8, item(100, 1)), TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_BADVALUE);

    ASSERT_EQ(set(ICAP_PIXELTYPE, TWTY_UINT16, item(TWPT_GRAY, 2)), TWRC_SUCCESS);
    EXPECT_EQ(ask(app, MSG_GETDEFAULT, ICAP_PIXELTYPE).bytes,
              oneValue(TWTY_UINT16, item(TWPT_RGB, 4)));
    EXPECT_EQ(ask(app, MSG_GETCURRENT, CAP_DUPLEX).bytes,
              oneValue(TWTY_UINT16, item(TWDX_1PASSDUPLEX, 4)));
}

TEST_F(ItemTypes, AFrameIsFourFix32InItsUnits) {
    Bytes frame(16, 0);
    const double edges[] = {1.0, 2.0, 5.5, 8.0};
    for (size_t i = 0; i < 4; ++i) {
        write32(frame, 4 * i, fix32Bits(edges[i]));
    }
    ASSERT_EQ(set(ICAP_FRAMES, TWTY_FRAME, frame), TWRC_SUCCESS);
    EXPECT_EQ(ask(app, MSG_GETCURRENT, ICAP_FRAMES).bytes, oneValue(TWTY_FRAME, frame));
    const Answer all = ask(app, MSG_GET, ICAP_FRAMES);
    ASSERT_EQ(all.conType, TWON_ENUMERATION);
    EXPECT_EQ(all.u32(2), 1u);
    EXPECT_EQ(Bytes(all.bytes.begin() + 14, all.bytes.end()), frame);
    TW_IMAGELAYOUT layout = {};
    ASSERT_EQ(app.toSource(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GETCURRENT, &layout), TWRC_SUCCESS);
    EXPECT_EQ(layout.Frame.Right.Whole, 5);
    EXPECT_EQ(layout.Frame.Right.Frac, 0x8000);

    const Answer reset = ask(app, MSG_RESET, ICAP_FRAMES);
    EXPECT_EQ(reset.u32(10), fix32Bits(8.5));
    EXPECT_EQ(reset.u32(14), fix32Bits(11));
    // A frame one byte short is no frame.
    EXPECT_EQ(set(ICAP_FRAMES, TWTY_FRAME, Bytes(frame.begin(), frame.end() - 1)), TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_BADVALUE);
}

TEST_F(ItemTypes, StringsRoundTripInTheirFixedFields) {
    const struct {
        TW_UINT16 cap;
        TW_UINT16 type;
        size_t field;
        std::string text;
    } cases[] = {
        {ICAP_HALFTONES, TWTY_STR32, 34, "Spiral"},
        {kJobName, TWTY_STR64, 66, "Batch 7"},
        {CAP_AUTHOR, TWTY_STR128, 130, "A. Tester"},
        {CAP_CAPTION, TWTY_STR255, 256, std::string(255, 'c')},  // the longest that fits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cap);
        ASSERT_EQ(set(c.cap, c.type, textItem(c.text, c.field)), TWRC_SUCCESS);
        const Answer current = ask(app, MSG_GETCURRENT, c.cap);
        const size_t at = current.conType == TWON_ENUMERATION ? 14 + c.field * current.u32(6) : 2;
        EXPECT_EQ(current.u16(0), c.type);
        ASSERT_GE(current.bytes.size(), at + c.field);
        EXPECT_EQ(Bytes(current.bytes.begin() + static_cast<long>(at),
                        current.bytes.begin() + static_cast<long>(at + c.field)),
                  textItem(c.text, c.field));
        // Filled to the end of its field, a string has no terminator and is refused.
        EXPECT_EQ(set(c.cap, c.type, Bytes(c.field, 'x')), TWRC_FAILURE);
        EXPECT_EQ(app.sourceStatus(), TWCC_BADVALUE);
    }
    const Answer halftones = ask(app, MSG_GET, ICAP_HALFTONES);
    ASSERT_EQ(halftones.bytes.size(), 14u + 3 * 34);
    EXPECT_EQ(halftones.text(14, 34), "Bayer");
    EXPECT_EQ(halftones.text(14 + 2 * 34, 34), "Diffusion");
    EXPECT_EQ(set(ICAP_HALFTONES, TWTY_STR32, textItem("Checker", 34)), TWRC_FAILURE);
}

TEST_F(ItemTypes, TheSerialNumberIsReadOnly) {
    const Answer serial = ask(app, MSG_GETCURRENT, CAP_SERIALNUMBER);
    ASSERT_EQ(serial.bytes.size(), 2u + 256);
    EXPECT_EQ(serial.text(2, 256), "VDF-2026-0042");
    EXPECT_EQ(set(CAP_SERIALNUMBER, TWTY_STR255, textItem("other", 256)), TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_CAPBADOPERATION);
}

TEST_F(ItemTypes, TheUnterminatedKnobFillsEveryStringField) {
    ASSERT_EQ(set(CAP_AUTHOR, TWTY_STR128, textItem("A. Tester", 130)), TWRC_SUCCESS);
    vscan_setKnob("CAP_AUTHOR.unterminated", 1);
    const Answer author = ask(app, MSG_GETCURRENT, CAP_AUTHOR);
    ASSERT_EQ(author.bytes.size(), 2u + 130);
    EXPECT_EQ(std::string(author.bytes.begin() + 2, author.bytes.begin() + 11), "A. Tester");
    EXPECT_EQ(std::count(author.bytes.begin() + 2, author.bytes.end(), 0), 0);
    vscan_setKnob("ICAP_HALFTONES.unterminated", 1);
    const Answer halftones = ask(app, MSG_GET, ICAP_HALFTONES);
    ASSERT_EQ(halftones.bytes.size(), 14u + 3 * 34);
    EXPECT_EQ(std::count(halftones.bytes.begin() + 14, halftones.bytes.end(), 0), 0);
}

TEST_F(ItemTypes, TheStepKnobGivesARangeWithAZeroStep) {
    vscan_setKnob("CAP_ALARMVOLUME.step", 0);
    const Answer range = ask(app, MSG_GET, CAP_ALARMVOLUME);
    ASSERT_EQ(range.conType, TWON_RANGE);
    EXPECT_EQ(range.u32(2), 0u);
    EXPECT_EQ(range.u32(6), 100u);
    EXPECT_EQ(range.u32(10), 0u);
    EXPECT_EQ(range.u32(14), 50u);
}

TEST_F(ItemTypes, ContainerKnobsBendEveryMessage) {
    vscan_setKnob("CAP_DUPLEX.container", TWON_ENUMERATION);
    vscan_setKnob("CAP_DUPLEX.numItems", 7);
    const Answer fallback = ask(app, MSG_GETDEFAULT, CAP_DUPLEX);
    EXPECT_EQ(fallback.conType, TWON_ENUMERATION);
    EXPECT_EQ(fallback.u32(2), 7u);
    vscan_setKnob("CAP_AUTHOR.blockSize", 3);
    EXPECT_EQ(ask(app, MSG_QUERYSUPPORT, CAP_AUTHOR).bytes.size(), 3u);
    EXPECT_EQ(ask(app, MSG_RESET, CAP_AUTHOR).bytes.size(), 3u);
    vscan_setKnob("CAP_AUTHOR.unsupported", 1);
    EXPECT_EQ(ask(app, MSG_QUERYSUPPORT, CAP_AUTHOR).result, TWRC_FAILURE);
    EXPECT_EQ(app.sourceStatus(), TWCC_CAPUNSUPPORTED);
}

}  // namespace
