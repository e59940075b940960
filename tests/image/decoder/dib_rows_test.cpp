// Row decoding: what each bit depth yields per pixel, that a row is read no further than its last
// pixel and written no further than its width, and the split of the color table.
#include <jni.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "guarded_block.h"
#include "image/dib_layout.h"
#include "image/dib_rows.h"

namespace {

constexpr jbyte kByteSentinel = 0x5A;
constexpr jint kIntSentinel = 0x5A5A5A5A;

DibLayout rowLayout(std::int32_t width, std::uint16_t bitCount, bool bitFields = false) {
    DibLayout layout{};
    layout.width = width;
    layout.height = 1;
    layout.rowCount = 1;
    layout.bitCount = bitCount;
    layout.bitFields = bitFields;
    return layout;
}

// The row's bytes end exactly where the readable memory ends, and one more output element than
// the width is watched for a stray write.
std::vector<jbyte> indexRow(const DibLayout& layout, const std::vector<std::uint8_t>& stored) {
    const GuardedBlock row(stored);
    std::vector<jbyte> out(static_cast<std::size_t>(layout.width) + 1, kByteSentinel);
    unpackIndexRow(layout, row.data(), out.data());
    EXPECT_EQ(out.back(), kByteSentinel) << "written past the width";
    out.pop_back();
    return out;
}

std::vector<jint> directRow(const DibLayout& layout, const std::vector<std::uint8_t>& stored) {
    const GuardedBlock row(stored);
    std::vector<jint> out(static_cast<std::size_t>(layout.width) + 1, kIntSentinel);
    unpackDirectRow(layout, row.data(), out.data());
    EXPECT_EQ(out.back(), kIntSentinel) << "written past the width";
    out.pop_back();
    return out;
}

TEST(DibRowsTest, OneBitPixelsComeMostSignificantBitFirst) {
    EXPECT_EQ(indexRow(rowLayout(8, 1), {0xA0}), (std::vector<jbyte>{1, 0, 1, 0, 0, 0, 0, 0}));
    // Ten pixels: a whole byte, then the top two bits of the next; the low bits are padding.
    EXPECT_EQ(indexRow(rowLayout(10, 1), {0x81, 0x7F}),
              (std::vector<jbyte>{1, 0, 0, 0, 0, 0, 0, 1, 0, 1}));
    EXPECT_EQ(indexRow(rowLayout(3, 1), {0x60}), (std::vector<jbyte>{0, 1, 1}));
}

TEST(DibRowsTest, FourBitPixelsTakeTheHighNibbleFirst) {
    EXPECT_EQ(indexRow(rowLayout(2, 4), {0x3C}), (std::vector<jbyte>{3, 12}));
    EXPECT_EQ(indexRow(rowLayout(3, 4), {0xF0, 0x1E}), (std::vector<jbyte>{15, 0, 1}));
}

TEST(DibRowsTest, EightBitPixelsAreCopiedAsStored) {
    EXPECT_EQ(indexRow(rowLayout(3, 8), {0x00, 0x80, 0xFF}),
              (std::vector<jbyte>{0, static_cast<jbyte>(0x80), static_cast<jbyte>(0xFF)}));
}

TEST(DibRowsTest, SixteenBitPixelsAreLittleEndianWithNothingAbove) {
    EXPECT_EQ(directRow(rowLayout(1, 16), {0x1F, 0x7C}), (std::vector<jint>{0x7C1F}));
    // The next pixel's bytes must not leak into the first.
    EXPECT_EQ(directRow(rowLayout(2, 16), {0x1F, 0x7C, 0xFF, 0xFF}),
              (std::vector<jint>{0x7C1F, 0xFFFF}));
}

TEST(DibRowsTest, TwentyFourBitPixelsAreBlueGreenRed) {
    EXPECT_EQ(directRow(rowLayout(1, 24), {0x10, 0x20, 0x30}), (std::vector<jint>{0x302010}));
    EXPECT_EQ(directRow(rowLayout(2, 24), {0x10, 0x20, 0x30, 0xFF, 0xFE, 0xFD}),
              (std::vector<jint>{0x302010, 0xFDFEFF}));
}

TEST(DibRowsTest, ThirtyTwoBitTopByteIsClearedOnlyWithoutStoredMasks) {
    const std::vector<std::uint8_t> stored{0x10, 0x20, 0x30, 0x40, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(directRow(rowLayout(2, 32), stored), (std::vector<jint>{0x302010, 0xFFFFFF}));
    // Bit-field masks may use the top byte (10 bits per channel, for one), so it is kept.
    EXPECT_EQ(directRow(rowLayout(2, 32, true), stored),
              (std::vector<jint>{0x40302010, static_cast<jint>(0xFFFFFFFF)}));
}

TEST(DibRowsTest, BitFieldRowsOfEightBitsOrLessAreRawBytes) {
    EXPECT_EQ(indexRow(rowLayout(2, 8, true), {0xE3, 0x1C}),
              (std::vector<jbyte>{static_cast<jbyte>(0xE3), 0x1C}));
    EXPECT_EQ(indexRow(rowLayout(4, 1, true), {0x90}), (std::vector<jbyte>{1, 0, 0, 1}));
}

TEST(DibRowsTest, RowsWithoutPixelsWriteNothing) {
    for (const std::uint16_t bitCount : {1, 4, 8}) {
        const GuardedBlock row(nullptr, 0);
        jbyte out = kByteSentinel;
        unpackIndexRow(rowLayout(-127, bitCount), row.data(), &out);
        unpackIndexRow(rowLayout(0, bitCount), row.data(), &out);
        EXPECT_EQ(out, kByteSentinel);
    }
    for (const std::uint16_t bitCount : {16, 24, 32}) {
        const GuardedBlock row(nullptr, 0);
        jint out = kIntSentinel;
        unpackDirectRow(rowLayout(-3, bitCount), row.data(), &out);
        unpackDirectRow(rowLayout(0, bitCount), row.data(), &out);
        EXPECT_EQ(out, kIntSentinel);
    }
}

TEST(DibRowsTest, ColorTableSplitsIntoRedGreenBlueIgnoringReserved) {
    // RGBQUADs: blue, green, red, reserved.
    const std::vector<std::uint8_t> table{0x01, 0x02, 0x03, 0xEE, 0xFF, 0x80, 0x00, 0xEE};
    const GuardedBlock block(table);
    DibLayout layout{};
    layout.indexed = true;
    layout.colorCount = 2;
    layout.colorTable = block.data();
    std::vector<jbyte> red(3, kByteSentinel), green(3, kByteSentinel), blue(3, kByteSentinel);
    splitColorTable(layout, red.data(), green.data(), blue.data());
    EXPECT_EQ(red, (std::vector<jbyte>{0x03, 0x00, kByteSentinel}));
    EXPECT_EQ(green, (std::vector<jbyte>{0x02, static_cast<jbyte>(0x80), kByteSentinel}));
    EXPECT_EQ(blue, (std::vector<jbyte>{0x01, static_cast<jbyte>(0xFF), kByteSentinel}));
}

}  // namespace
