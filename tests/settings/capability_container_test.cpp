// Containers as a source's block holds them: every item type through each container the library
// sends, read back as laid; every malformed block refused with its reason. Each block is read from
// an exact-size copy, so that a read past its end shows under AddressSanitizer.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "settings/capability_container.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

ContainerResult readExactly(TW_UINT16 conType, const Bytes& bytes) {
    const std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[bytes.size()]);
    if (!bytes.empty()) {
        std::memcpy(block.get(), bytes.data(), bytes.size());
    }
    return readContainer(conType, block.get(), bytes.size());
}

void put16(Bytes& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, value);
    put16(bytes, at + 2, value >> 16);
}

// Two distinct items of each type, at the edges of what the type holds.
std::vector<CapabilityItem> sampleItems(TW_UINT16 itemType) {
    CapabilityItem low;
    CapabilityItem high;
    switch (itemType) {
        case TWTY_INT8:
            low.number = -128, high.number = 127;
            break;
        case TWTY_INT16:
            low.number = -32768, high.number = 32767;
            break;
        case TWTY_INT32:
            low.number = INT32_MIN, high.number = INT32_MAX;
            break;
        case TWTY_UINT8:
            low.number = 0, high.number = 255;
            break;
        case TWTY_UINT16:
        case TWTY_BOOL:
            low.number = 0, high.number = 65535;
            break;
        case TWTY_UINT32:
            low.number = 0, high.number = UINT32_MAX;
            break;
        case TWTY_FIX32:
            low.number = -(1 << 16) - 0x8000;  // -1.5
            high.number = 600 << 16 | 0x4000;  // 600.25
            break;
        case TWTY_FRAME:
            low.frame = {0, 0, static_cast<std::int32_t>(8.5 * 65536), 11 << 16};
            high.frame = {-(1 << 16), 1, INT32_MAX, INT32_MIN};
            break;
        default:
            low.text = "";
            high.text =
                std::string(itemSizeOf(itemType) - 1, 'x');  // the field less its terminator
    }
    return {low, high};
}

TEST(CapabilityContainer, EveryItemTypeComesBackAsLaidInEachContainerTheLibrarySends) {
    for (TW_UINT16 itemType = TWTY_INT8; itemType <= TWTY_STR255; ++itemType) {
        SCOPED_TRACE(::testing::Message() << "item type " << itemType);
        const auto items = sampleItems(itemType);
        const CapabilityContainer sent[] = {
            {TWON_ONEVALUE, itemType, {items[1]}, 0, 0},
            {TWON_ENUMERATION, itemType, items, 1, 0},
            {TWON_ARRAY, itemType, items, 0, 0},
            {TWON_ARRAY, itemType, {}, 0, 0},
        };
        for (const CapabilityContainer& container : sent) {
            const LaidContainer laid = layContainer(container);
            ASSERT_TRUE(laid.fault.empty()) << laid.fault;
            const ContainerResult read = readExactly(container.conType, laid.bytes);
            ASSERT_TRUE(read.ok()) << read.fault;
            EXPECT_EQ(read.container, container);
        }
    }
}

TEST(CapabilityContainer, LaysOutTheStandardsRecords) {
    CapabilityItem half;
    half.number = 1 << 16 | 0x8000;  // 1.5: Whole 1, Frac 0x8000
    EXPECT_EQ(layContainer({TWON_ONEVALUE, TWTY_FIX32, {half}, 0, 0}).bytes,
              (Bytes{0x07, 0x00, 0x01, 0x00, 0x00, 0x80}));
    CapabilityItem one;
    one.number = 1;
    // The Item field is 32 bits whatever the type; a 16-bit item leaves its upper half zero.
    EXPECT_EQ(layContainer({TWON_ONEVALUE, TWTY_UINT16, {one}, 0, 0}).bytes,
              (Bytes{0x04, 0x00, 0x01, 0x00, 0x00, 0x00}));
    EXPECT_EQ(layContainer({TWON_ENUMERATION, TWTY_UINT8, {one, half}, 1, 0}).bytes,
              (Bytes{0x03, 0x00, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x00}));
    EXPECT_EQ(layContainer({TWON_ARRAY, TWTY_INT16, {one}, 0, 0}).bytes,
              (Bytes{0x01, 0x00, 1, 0, 0, 0, 0x01, 0x00}));
}

Bytes range(TW_UINT16 itemType, std::uint32_t min, std::uint32_t max, std::uint32_t step) {
    Bytes bytes(22, 0);
    put16(bytes, 0, itemType);
    put32(bytes, 2, min);
    put32(bytes, 6, max);
    put32(bytes, 10, step);
    put32(bytes, 14, min);
    put32(bytes, 18, max);
    return bytes;
}

TEST(CapabilityContainer, ARangeReadsItsFieldsAsItemsOfItsType) {
    // FIX32 75 to 600 step 25: Whole in the low half of each 32-bit field.
    auto read = readExactly(TWON_RANGE, range(TWTY_FIX32, 75, 600, 25));
    ASSERT_TRUE(read.ok()) << read.fault;
    ASSERT_EQ(read.container.items.size(), 5u);
    EXPECT_EQ(read.container.items[0].number, 75 << 16);
    EXPECT_EQ(read.container.items[1].number, 600 << 16);
    EXPECT_EQ(read.container.items[2].number, 25 << 16);
    EXPECT_EQ(read.container.items[4].number, 600 << 16);
    // An INT8 range keeps only its low byte, sign and all; the rest of the field is noise.
    read = readExactly(TWON_RANGE, range(TWTY_INT8, 0xABCDEF80, 0x1234567F, 0xFFFFFF01));
    ASSERT_TRUE(read.ok()) << read.fault;
    EXPECT_EQ(read.container.items[0].number, -128);
    EXPECT_EQ(read.container.items[1].number, 127);
    EXPECT_EQ(read.container.items[2].number, 1);
    // One value may stand as a range of step 0.
    EXPECT_TRUE(readExactly(TWON_RANGE, range(TWTY_UINT16, 5, 5, 0)).ok());
}

struct Malformed {
    const char* what;
    TW_UINT16 conType;
    Bytes bytes;
    const char* fault;
};

Bytes enumeration(TW_UINT16 itemType, std::uint32_t count, std::uint32_t current,
                  std::uint32_t fallback, std::size_t itemBytes) {
    Bytes bytes(14 + itemBytes, 0);
    put16(bytes, 0, itemType);
    put32(bytes, 2, count);
    put32(bytes, 6, current);
    put32(bytes, 10, fallback);
    return bytes;
}

Bytes array(TW_UINT16 itemType, std::uint32_t count, std::size_t itemBytes) {
    Bytes bytes(6 + itemBytes, 0);
    put16(bytes, 0, itemType);
    put32(bytes, 2, count);
    return bytes;
}

TEST(CapabilityContainer, RefusesEveryMalformedBlockWithItsReason) {
    Bytes unterminated = array(TWTY_STR32, 2, 68);
    std::memset(unterminated.data() + 6 + 34, 'x', 34);
    Bytes oneValueText(2 + 34, 'y');
    put16(oneValueText, 0, TWTY_STR32);
    const Malformed cases[] = {
        {"an array counting past its block", TWON_ARRAY, array(TWTY_UINT16, 3, 4),
         "3 items of 2 bytes do not fit the 10 bytes of the block"},
        {"a count that would wrap a 32-bit product", TWON_ARRAY, array(TWTY_STR255, 0x01000001, 0),
         "16777217 items of 256 bytes do not fit the 6 bytes of the block"},
        {"an enumeration counting past its block", TWON_ENUMERATION,
         enumeration(TWTY_FIX32, 4, 0, 0, 12),
         "4 items of 4 bytes do not fit the 26 bytes of the block"},
        {"a current index past the items", TWON_ENUMERATION, enumeration(TWTY_UINT16, 2, 2, 0, 4),
         "index 2 past the 2 items of an enumeration"},
        {"a default index past the items", TWON_ENUMERATION,
         enumeration(TWTY_UINT16, 2, 0, 0xFFFFFFFF, 4),
         "index 4294967295 past the 2 items of an enumeration"},
        {"an enumeration without items", TWON_ENUMERATION, enumeration(TWTY_UINT16, 0, 0, 0, 0),
         "index 0 past the 0 items of an enumeration"},
        {"an unknown item type", TWON_ONEVALUE, Bytes{0x0D, 0, 0, 0, 0, 0}, "unknown item type 13"},
        {"a handle item", TWON_ARRAY, array(0x0F, 0, 0), "unknown item type 15"},
        {"an unknown container", 7, Bytes(32, 0), "unknown container type 7"},
        {"a string filling its field", TWON_ARRAY, unterminated,
         "item 1 is a string without its terminator"},
        {"a one value string without its terminator", TWON_ONEVALUE, oneValueText,
         "item 0 is a string without its terminator"},
        {"a range whose step is 0", TWON_RANGE, range(TWTY_FIX32, 75, 600, 0),
         "a range whose step is 0"},
        {"a range running backwards", TWON_RANGE, range(TWTY_INT16, 10, 0xFFFF, 1),
         "a range whose minimum exceeds its maximum"},
        {"a range of strings", TWON_RANGE, range(TWTY_STR32, 0, 0, 0),
         "a range of items of type 9, which are not numbers"},
        {"a range cut short", TWON_RANGE, Bytes(21, 0), "a range in a block of 21 bytes"},
        {"an enumeration header cut short", TWON_ENUMERATION, Bytes(13, 0),
         "an enumeration in a block of 13 bytes"},
        {"an array header cut short", TWON_ARRAY, Bytes(5, 0), "an array in a block of 5 bytes"},
        {"a one value without its item", TWON_ONEVALUE, Bytes{0x07, 0, 0, 0, 0},
         "1 items of 4 bytes do not fit the 5 bytes of the block"},
        {"an empty block", TWON_ONEVALUE, Bytes{}, "a container of 0 bytes"},
    };
    for (const Malformed& c : cases) {
        SCOPED_TRACE(c.what);
        const ContainerResult read = readExactly(c.conType, c.bytes);
        EXPECT_EQ(read.fault, c.fault);
        EXPECT_TRUE(read.container.items.empty());
    }
}

TEST(CapabilityContainer, TheSmallestBlockThatHoldsTheItemsIsTakenAndOneByteLessIsNot) {
    Bytes exact = enumeration(TWTY_FRAME, 3, 2, 1, 48);
    EXPECT_TRUE(readExactly(TWON_ENUMERATION, exact).ok());
    exact.pop_back();
    EXPECT_FALSE(readExactly(TWON_ENUMERATION, exact).ok());
    EXPECT_TRUE(readExactly(TWON_ONEVALUE, Bytes{0x00, 0x00, 0xFF}).ok());  // INT8: 3 bytes do
}

TEST(CapabilityContainer, RefusesToLayWhatASourceCouldNotRead) {
    CapabilityItem item;
    item.text = std::string(34, 'z');
    EXPECT_EQ(layContainer({TWON_ONEVALUE, TWTY_STR32, {item}, 0, 0}).fault,
              "a string of 34 bytes does not fit a field of 34");
    item.text.pop_back();
    EXPECT_EQ(layContainer({TWON_ONEVALUE, TWTY_STR32, {item}, 0, 0}).fault, "");
    EXPECT_EQ(layContainer({TWON_ONEVALUE, TWTY_INT16, {item, item}, 0, 0}).fault,
              "a one-value container with 2 items");
    EXPECT_EQ(layContainer({TWON_ENUMERATION, TWTY_INT16, {item}, 1, 0}).fault,
              "an enumeration index past its 1 items");
    EXPECT_EQ(layContainer({TWON_ENUMERATION, TWTY_INT16, {}, 0, 0}).fault,
              "an enumeration index past its 0 items");
    EXPECT_EQ(layContainer({TWON_RANGE, TWTY_INT16, {item}, 0, 0}).fault,
              "a container of type 6 cannot be set");
    EXPECT_EQ(layContainer({TWON_ARRAY, 13, {}, 0, 0}).fault, "unknown item type 13");
}

}  // namespace
