#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>

#include "settings/capability_access.h"

namespace {

struct Fix {
    TW_INT16 whole;
    TW_UINT16 frac;
};

void expectFix(double value, Fix expected) {
    const TW_FIX32 fix = toFix32(value);
    EXPECT_EQ(fix.Whole, expected.whole) << "toFix32(" << value << ")";
    EXPECT_EQ(fix.Frac, expected.frac) << "toFix32(" << value << ")";
}

TEST(ToFix32, NearestMultipleOfOneIn65536) {
    expectFix(0.0, {0, 0});
    expectFix(-0.0, {0, 0});
    expectFix(1.5, {1, 0x8000});
    expectFix(-1.5, {-2, 0x8000});
    expectFix(300.0, {300, 0});
    expectFix(-12.25, {-13, 0xC000});
    expectFix(0.1, {0, 0x199A});
    expectFix(32767.99998474121, {32767, 0xFFFF});
}

TEST(ToFix32, TiesGoAwayFromZero) {
    expectFix(std::ldexp(1.0, -17), {0, 1});
    expectFix(-std::ldexp(1.0, -17), {-1, 0xFFFF});
    expectFix(3 * std::ldexp(1.0, -17), {0, 2});
    expectFix(-3 * std::ldexp(1.0, -17), {-1, 0xFFFE});
}

TEST(ToFix32, NoRoundingOfAnIntermediateSum) {
    // Just under half a step: adding 0.5 in double precision would round the sum up to 1.
    const double belowHalf = std::nextafter(0.5, 0.0) / 65536;
    expectFix(belowHalf, {0, 0});
    expectFix(-belowHalf, {0, 0});
    expectFix(std::nextafter(0.5, 1.0) / 65536, {0, 1});
}

TEST(ToFix32, ScaledValuesKeepTheirLowThirtyTwoBits) {
    expectFix(32768.0, {-32768, 0});
    expectFix(65536.0 + 3.25, {3, 0x4000});
    expectFix(-32769.0, {32767, 0});
    // Just below 2^47 the scaled value still fits 64 bits: its low 32 bits are kept.
    expectFix(std::ldexp(1.0, 47) - std::ldexp(1.0, -6), {-1, 0xFC00});
}

TEST(ToFix32, NoNumberGivesZero) {
    expectFix(std::numeric_limits<double>::quiet_NaN(), {0, 0});
    expectFix(std::numeric_limits<double>::infinity(), {0, 0});
    expectFix(-std::numeric_limits<double>::infinity(), {0, 0});
    expectFix(std::ldexp(1.0, 47), {0, 0});
    expectFix(-std::ldexp(1.0, 47), {0, 0});
    expectFix(std::numeric_limits<double>::max(), {0, 0});
}

TEST(FromFix32, WholePlusFraction) {
    EXPECT_EQ(fromFix32({1, 0x8000}), 1.5);
    EXPECT_EQ(fromFix32({-2, 0x8000}), -1.5);
    EXPECT_EQ(fromFix32({-1, 0x8000}), -0.5);
    EXPECT_EQ(fromFix32({0, 0x199A}), 0.100006103515625);
    EXPECT_EQ(fromFix32({-32768, 0}), -32768.0);
    EXPECT_EQ(fromFix32({32767, 0xFFFF}), 32767.99998474121);
    EXPECT_EQ(fromFix32({-1, 0xFFFF}), -std::ldexp(1.0, -16));
}

TEST(FromFix32, RoundTripsEveryFraction) {
    for (int frac = 0; frac < 0x10000; frac += 0x101) {
        for (TW_INT16 whole : {TW_INT16{-32768}, TW_INT16{-1}, TW_INT16{0}, TW_INT16{7}}) {
            const TW_FIX32 fix = toFix32(fromFix32({whole, static_cast<TW_UINT16>(frac)}));
            ASSERT_EQ(fix.Whole, whole);
            ASSERT_EQ(fix.Frac, frac);
        }
    }
}

TEST(PackFix32, WholeLowFracHigh) {
    EXPECT_EQ(packFix32(toFix32(300.0)), 0x0000012Cu);
    EXPECT_EQ(packFix32(toFix32(-12.25)), 0xC000FFF3u);
}

// What a TW_FIX32 carries without wrapping: every number that rounds to one of its 2^32 values.
TEST(FitsFix32, FromMinus32768ToJustBelow32768) {
    const double half = std::ldexp(1.0, -17);
    const struct {
        double value;
        bool fits;
    } cases[] = {
        {0.0, true},
        {8.27, true},
        {-32768.0, true},
        {-32768.0 - half + std::ldexp(1.0, -30), true},
        {-32768.0 - half, false},
        {32767.99998474121, true},
        {32768.0 - half, false},
        {32768.0, false},
        {100000.0, false},
        {std::numeric_limits<double>::quiet_NaN(), false},
        {std::numeric_limits<double>::infinity(), false},
        {-std::numeric_limits<double>::infinity(), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fitsFix32(c.value), c.fits) << std::setprecision(17) << c.value;
    }
}

TEST(ItemTypes, SizesOfTheThirteenTypes) {
    const TW_UINT16 expected[] = {1, 2, 4, 1, 2, 4, 2, 4, 16, 34, 66, 130, 256};
    ASSERT_EQ(itemTypeSize.size(), std::size(expected));
    for (std::size_t code = 0; code < std::size(expected); ++code) {
        EXPECT_EQ(itemTypeSize[code], expected[code]) << "TWTY code " << code;
    }
}

TEST(ItemTypes, CompatibleWhenEqualOrIntegersOfOneSize) {
    const struct {
        TW_UINT16 reported, requested;
        bool compatible;
    } cases[] = {
        {TWTY_INT16, TWTY_UINT16, true},  {TWTY_UINT16, TWTY_UINT16, true},
        {TWTY_BOOL, TWTY_UINT16, false},  {TWTY_UINT16, TWTY_BOOL, false},
        {TWTY_INT32, TWTY_UINT32, true},  {TWTY_INT8, TWTY_UINT8, true},
        {TWTY_INT8, TWTY_UINT16, false},  {TWTY_UINT32, TWTY_UINT16, false},
        {TWTY_FIX32, TWTY_UINT32, false}, {TWTY_UINT32, TWTY_FIX32, false},
        {TWTY_FIX32, TWTY_FIX32, true},   {TWTY_BOOL, TWTY_BOOL, true},
        {TWTY_STR255, TWTY_STR255, true}, {0x0D, 0x0D, true},
        {0x0D, TWTY_UINT16, false},       {0xFFFF, TWTY_FIX32, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isItemTypeCompatible(c.reported, c.requested), c.compatible)
            << "reported " << c.reported << ", requested " << c.requested;
    }
}

}  // namespace
