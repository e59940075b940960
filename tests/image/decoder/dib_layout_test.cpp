// Layout decoding: which DIBs are read, where their parts lie, and the refusal of every header
// that claims more than its block holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include "dib_bytes.h"
#include "guarded_block.h"
#include "image/dib_layout.h"
#include "image/dib_rows.h"
#include "image/messages.h"

namespace {

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

// The message of a refused block, or "accepted".
std::string outcome(const std::uint8_t* block, std::size_t size) {
    try {
        decodeDibLayout(block, size);
        return "accepted";
    } catch (const MessageFailure& failure) {
        return failure.text;
    }
}

std::string outcome(const std::vector<std::uint8_t>& bytes) {
    const GuardedBlock block(bytes);
    return outcome(block.data(), block.size());
}

// A header followed by `tail` zero bytes.
std::vector<std::uint8_t> dib(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                              std::uint32_t compression, std::uint32_t clrUsed, std::size_t tail) {
    std::vector<std::uint8_t> bytes = infoHeader(width, height, bitCount, compression, clrUsed);
    appendZeros(bytes, tail);
    return bytes;
}

struct LayoutCase {
    const char* name;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t clrUsed;
    bool indexed;
    std::uint32_t colorCount;  // indexed only
    std::size_t pixelOffset;
    std::uint32_t red, green, blue;
};

// Stored masks, where a case has them, are 0x00F80000, 0x0007E000, 0x00001F00.
const LayoutCase kLayoutCases[] = {
    {"1 bit, default table", 1, kBiRgb, 0, true, 2, 48, 0, 0, 0},
    {"4 bits, default table", 4, kBiRgb, 0, true, 16, 104, 0, 0, 0},
    {"4 bits, 12 colors", 4, kBiRgb, 12, true, 12, 88, 0, 0, 0},
    {"8 bits, default table", 8, kBiRgb, 0, true, 256, 1064, 0, 0, 0},
    {"8 bits, 16 colors", 8, kBiRgb, 16, true, 16, 104, 0, 0, 0},
    {"8 bits, more colors than indices", 8, kBiRgb, 300, true, 300, 1240, 0, 0, 0},
    {"16 bits, implied 5-5-5", 16, kBiRgb, 0, false, 0, 40, 0x7C00, 0x03E0, 0x001F},
    {"24 bits, 5 unread colors", 24, kBiRgb, 5, false, 0, 60, 0xFF0000, 0x00FF00, 0x0000FF},
    {"32 bits, implied masks", 32, kBiRgb, 0, false, 0, 40, 0xFF0000, 0x00FF00, 0x0000FF},
    {"1 bit, bit fields", 1, kBiBitFields, 0, false, 0, 52, 0x00F80000, 0x0007E000, 0x00001F00},
    {"8 bits, bit fields", 8, kBiBitFields, 0, false, 0, 52, 0x00F80000, 0x0007E000, 0x00001F00},
    {"16 bits, bit fields", 16, kBiBitFields, 0, false, 0, 52, 0x00F80000, 0x0007E000, 0x00001F00},
    {"32 bits, bit fields, 3 colors", 32, kBiBitFields, 3, false, 0, 64, 0x00F80000, 0x0007E000,
     0x00001F00},
};

TEST(DibLayoutTest, PartsLieWhereBitCountAndCompressionPutThem) {
    for (const LayoutCase& c : kLayoutCases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> bytes = infoHeader(1, 1, c.bitCount, c.compression, c.clrUsed);
        if (c.compression == kBiBitFields) {
            appendU32(bytes, 0x00F80000);
            appendU32(bytes, 0x0007E000);
            appendU32(bytes, 0x00001F00);
        }
        appendZeros(bytes, c.pixelOffset + 4 - bytes.size());
        const GuardedBlock block(bytes);

        const DibLayout layout = decodeDibLayout(block.data(), block.size());
        EXPECT_EQ(layout.indexed, c.indexed);
        EXPECT_EQ(layout.bitFields, c.compression == kBiBitFields);
        EXPECT_EQ(layout.bitCount, c.bitCount);
        EXPECT_EQ(layout.pixels - block.data(), static_cast<std::ptrdiff_t>(c.pixelOffset));
        EXPECT_EQ(layout.redMask, c.red);
        EXPECT_EQ(layout.greenMask, c.green);
        EXPECT_EQ(layout.blueMask, c.blue);
        if (c.indexed) {
            EXPECT_EQ(layout.colorCount, c.colorCount);
            EXPECT_EQ(layout.colorTable, block.data() + 40);
        } else {
            EXPECT_EQ(layout.colorTable, nullptr);
        }
    }
}

TEST(DibLayoutTest, StrideRoundsEachRowUpToWholeWords) {
    struct StrideCase {
        std::int32_t width;
        std::uint16_t bitCount;
        std::uint64_t stride;
    };
    const StrideCase cases[] = {
        {3, 24, 12},
        {1, 1, 4},
        {5, 4, 4},
        {127, 1, 16},
        {32, 1, 4},
        {33, 1, 8},
        {2, 16, 4},
        {3, 16, 8},
        {4, 8, 4},
        {5, 8, 8},
        {1, 32, 4},
        {0, 24, 0},
        // A negative width has no pixels, so its rows take no room.
        {-127, 1, 0},
        {-3, 24, 0},
    };
    for (const StrideCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " pixels of " + std::to_string(c.bitCount));
        const std::uint32_t clrUsed = c.bitCount <= 8 ? 1 : 0;
        const auto bytes = dib(c.width, 1, c.bitCount, kBiRgb, clrUsed, 4 + c.stride);
        const GuardedBlock block(bytes);
        EXPECT_EQ(decodeDibLayout(block.data(), block.size()).stride, c.stride);
    }
}

TEST(DibLayoutTest, ConsumerRowZeroIsTheTopOfThePicture) {
    // Two 8-bit rows of one pixel, 4 bytes apart, after a one-color table.
    const auto bottomUp = dib(1, 2, 8, kBiRgb, 1, 4 + 8);
    const GuardedBlock up(bottomUp);
    const DibLayout upLayout = decodeDibLayout(up.data(), up.size());
    EXPECT_EQ(upLayout.rowCount, 2u);
    EXPECT_EQ(dibRowStart(upLayout, 0), up.data() + 48);
    EXPECT_EQ(dibRowStart(upLayout, 1), up.data() + 44);

    const auto topDown = dib(1, -2, 8, kBiRgb, 1, 4 + 8);
    const GuardedBlock down(topDown);
    const DibLayout downLayout = decodeDibLayout(down.data(), down.size());
    EXPECT_EQ(downLayout.rowCount, 2u);
    EXPECT_EQ(downLayout.height, -2);
    EXPECT_EQ(dibRowStart(downLayout, 0), down.data() + 44);
    EXPECT_EQ(dibRowStart(downLayout, 1), down.data() + 48);

    const auto empty = dib(5, 0, 8, kBiRgb, 1, 4);
    const GuardedBlock none(empty);
    EXPECT_EQ(decodeDibLayout(none.data(), none.size()).rowCount, 0u);
}

TEST(DibLayoutTest, RefusalsCarryTheirFixedMessages) {
    EXPECT_EQ(outcome(nullptr, 4096), "Invalid image!");
    const std::string unsupported = "Unsupported image type!";
    const std::string compression = "Unsuported DIB compression type!";
    for (const std::uint32_t biSize : {12u, 16u, 64u, 108u, 124u}) {
        auto bytes = infoHeader(1, 1, 8, kBiRgb, 1, biSize);
        appendZeros(bytes, 200);
        EXPECT_EQ(outcome(bytes), unsupported) << "biSize " << biSize;
    }
    EXPECT_EQ(outcome(dib(1, 1, 8, kBiRle8, 1, 8)), compression);
    EXPECT_EQ(outcome(dib(1, 1, 4, kBiRle4, 1, 8)), compression);
    // A bad compression wins over a bad bit count.
    EXPECT_EQ(outcome(dib(1, 1, 2, 6, 1, 8)), compression);
    EXPECT_EQ(outcome(dib(1, 1, 24, 4, 0, 8)), compression);
    for (const std::uint16_t bitCount : {0, 2, 15, 48, 64, 30000}) {
        EXPECT_EQ(outcome(dib(1, 1, bitCount, kBiRgb, 2, 64)), unsupported) << bitCount;
        EXPECT_EQ(outcome(dib(1, 1, bitCount, kBiBitFields, 2, 64)), unsupported) << bitCount;
    }
}

TEST(DibLayoutTest, HeaderTestsComeBeforeTheBlockSize) {
    const std::string invalid = "Invalid image!";
    // Too short to hold biSize.
    EXPECT_EQ(outcome({}), invalid);
    EXPECT_EQ(outcome({40, 0, 0}), invalid);
    // A 12-byte header in a 12-byte block is still another header type.
    EXPECT_EQ(outcome({12, 0, 0, 0, 1, 0, 1, 0, 1, 0, 8, 0}), "Unsupported image type!");
    // A 40-byte header cut short.
    auto cut = infoHeader(1, 1, 24, kBiRgb, 0);
    cut.pop_back();
    EXPECT_EQ(outcome(cut), invalid);
    // Bit fields with a bad bit count keep their message even without room for the masks.
    EXPECT_EQ(outcome(dib(1, 1, 2, kBiBitFields, 0, 0)), "Unsupported image type!");
}

// Reads every row of an accepted layout the way a delivery does; in a guarded block a read past
// the end stops the test.
void readEveryRow(const std::vector<std::uint8_t>& bytes) {
    const GuardedBlock block(bytes);
    const DibLayout layout = decodeDibLayout(block.data(), block.size());
    std::vector<jbyte> indexRow(static_cast<std::size_t>(std::max(layout.width, 0)));
    std::vector<jint> directRow(indexRow.size());
    for (std::uint32_t y = 0; y < layout.rowCount; ++y) {
        if (layout.bitCount <= 8) {
            unpackIndexRow(layout, dibRowStart(layout, y), indexRow.data());
        } else {
            unpackDirectRow(layout, dibRowStart(layout, y), directRow.data());
        }
    }
}

// The smallest block that is accepted, and one byte less, which is refused: every stored row at its
// full stride but the last in the block, which needs only the bytes up to its last pixel. Widths
// are chosen so that the last row has padding wherever the bit count allows it; each case is run
// bottom-up and top-down.
TEST(DibLayoutTest, BlockEndsAtTheLastPixelOfTheLastStoredRow) {
    struct SizeCase {
        const char* name;
        std::int32_t width;
        std::int32_t rows;
        std::uint16_t bitCount;
        std::uint32_t compression;
        std::uint32_t clrUsed;
        std::size_t needed;  // after the header: masks, colors, full rows, the last row's pixels
    };
    const SizeCase cases[] = {
        {"1 bit, 9 wide", 9, 3, 1, kBiRgb, 0, 8 + 2 * 4 + 2},
        {"4 bits, 3 wide", 3, 3, 4, kBiRgb, 0, 64 + 2 * 4 + 2},
        {"8 bits, 5 wide", 5, 3, 8, kBiRgb, 0, 1024 + 2 * 8 + 5},
        {"8 bits, 16 colors, 1 row", 5, 1, 8, kBiRgb, 16, 64 + 5},
        {"16 bits, 3 wide", 3, 3, 16, kBiRgb, 0, 2 * 8 + 6},
        {"24 bits, 1 wide", 1, 2, 24, kBiRgb, 0, 4 + 3},
        {"24 bits, 5 unread colors", 3, 2, 24, kBiRgb, 5, 20 + 12 + 9},
        {"32 bits, 2 wide", 2, 3, 32, kBiRgb, 0, 2 * 8 + 8},
        {"1 bit, bit fields", 17, 3, 1, kBiBitFields, 0, 12 + 2 * 4 + 3},
        {"4 bits, bit fields", 5, 3, 4, kBiBitFields, 0, 12 + 2 * 4 + 3},
        {"8 bits, bit fields", 2, 3, 8, kBiBitFields, 0, 12 + 2 * 4 + 2},
        {"16 bits, bit fields", 5, 3, 16, kBiBitFields, 0, 12 + 2 * 12 + 10},
        {"24 bits, bit fields", 2, 3, 24, kBiBitFields, 0, 12 + 2 * 8 + 6},
        {"32 bits, bit fields, 2 colors", 2, 3, 32, kBiBitFields, 2, 12 + 8 + 2 * 8 + 8},
    };
    for (const SizeCase& c : cases) {
        for (const std::int32_t height : {c.rows, -c.rows}) {
            SCOPED_TRACE(std::string(c.name) + (height > 0 ? ", bottom-up" : ", top-down"));
            const auto exact = dib(c.width, height, c.bitCount, c.compression, c.clrUsed, c.needed);
            EXPECT_EQ(outcome(exact), "accepted");
            readEveryRow(exact);
            EXPECT_EQ(
                outcome(dib(c.width, height, c.bitCount, c.compression, c.clrUsed, c.needed - 1)),
                "Invalid image!");
        }
    }
}

// Blocks that need no row bytes, or only the color table or masks.
TEST(DibLayoutTest, BlocksWithoutRowBytesNeedOnlyTheirTables) {
    struct SizeCase {
        const char* name;
        std::int32_t width;
        std::int32_t height;
        std::uint16_t bitCount;
        std::uint32_t compression;
        std::uint32_t clrUsed;
        std::size_t needed;
    };
    const SizeCase cases[] = {
        {"4 bits, table only", 7, 0, 4, kBiRgb, 3, 12},
        {"32 bits, bit fields, masks only", 9, 0, 32, kBiBitFields, 0, 12},
        {"negative width, masks only", -127, 64, 8, kBiBitFields, 0, 12},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(outcome(dib(c.width, c.height, c.bitCount, c.compression, c.clrUsed, c.needed)),
                  "accepted");
        EXPECT_EQ(
            outcome(dib(c.width, c.height, c.bitCount, c.compression, c.clrUsed, c.needed - 1)),
            "Invalid image!");
    }
}

TEST(DibLayoutTest, HeaderValuesThatWouldWrapAreRefused) {
    const std::string invalid = "Invalid image!";
    const std::size_t generous = 1 << 16;
    // Each of these would fit the block if a product or sum wrapped in 32 bits.
    EXPECT_EQ(outcome(dib(0x40000000, 1, 32, kBiRgb, 0, generous)), invalid);
    EXPECT_EQ(outcome(dib(0x08000000, 1, 32, kBiRgb, 0, generous)), invalid);
    EXPECT_EQ(outcome(dib(1, 0x40000000, 32, kBiRgb, 0, generous)), invalid);
    EXPECT_EQ(outcome(dib(1, 1, 24, kBiRgb, 0x40000000, generous)), invalid);
    EXPECT_EQ(outcome(dib(1, 1, 8, kBiRgb, 0x40000000, generous)), invalid);
    EXPECT_EQ(outcome(dib(1, 1, 32, kBiBitFields, 0x3FFFFFFD, generous)), invalid);
    // The extremes of every field.
    EXPECT_EQ(outcome(dib(kInt32Max, 1, 32, kBiRgb, 0, generous)), invalid);
    EXPECT_EQ(outcome(dib(1, kInt32Max, 1, kBiRgb, 2, generous)), invalid);
    EXPECT_EQ(outcome(dib(1, 1, 24, kBiRgb, 0xFFFFFFFF, generous)), invalid);
    EXPECT_EQ(outcome(dib(1, 1, 8, kBiRgb, 0xFFFFFFFF, generous)), invalid);
    // Rows of no bytes fit any block, but INT32_MIN rows cannot be announced as a Java int.
    EXPECT_EQ(outcome(dib(0, kInt32Min, 24, kBiRgb, 0, 0)), invalid);
    EXPECT_EQ(outcome(dib(-5, kInt32Min, 24, kBiRgb, 0, 0)), invalid);
    EXPECT_EQ(outcome(dib(0, kInt32Min + 1, 24, kBiRgb, 0, 0)), "accepted");
    // No rows: a width of any size needs no pixel bytes, and its stride does not wrap either.
    const auto wide = dib(kInt32Max, 0, 32, kBiRgb, 0, 0);
    const GuardedBlock block(wide);
    EXPECT_EQ(decodeDibLayout(block.data(), block.size()).stride, std::uint64_t{kInt32Max} * 4);
}

}  // namespace
