// Containers in the records that the VM hands over: each one that the binding writes is read
// back whole, and every record cut short, going on past its container, or naming an item type
// the standard does not have is refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "jni/container_record.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

CapabilityContainer container(TW_UINT16 conType, TW_UINT16 itemType) {
    CapabilityContainer c;
    c.conType = conType;
    c.itemType = itemType;
    return c;
}

// One container of each kind of item, as the binding sends them.
std::vector<CapabilityContainer> sentContainers() {
    CapabilityContainer numbers = container(TWON_ENUMERATION, TWTY_INT32);
    numbers.numbers = {INT32_MIN, 0, INT32_MAX};
    numbers.currentIndex = 2;
    numbers.defaultIndex = 1;
    CapabilityContainer frames = container(TWON_ARRAY, TWTY_FRAME);
    frames.frames = {{0, 0, 8 << 16, 11 << 16}, {-1, 1, INT32_MAX, INT32_MIN}};
    CapabilityContainer texts = container(TWON_ARRAY, TWTY_STR255);
    texts.texts = {"", "Virtual Scanner", std::string(254, 'x')};
    CapabilityContainer empty = container(TWON_ARRAY, TWTY_UINT8);
    return {numbers, frames, texts, empty};
}

Bytes recordOf(const CapabilityContainer& c) {
    RecordWriter writer;
    writeContainer(writer, c);
    return writer.bytes();
}

std::optional<CapabilityContainer> read(const Bytes& bytes) {
    RecordReader record(bytes);
    return readContainerRecord(record);
}

TEST(ContainerRecord, EachContainerTheBindingWritesIsReadBackWhole) {
    for (const CapabilityContainer& sent : sentContainers()) {
        SCOPED_TRACE("item type " + std::to_string(sent.itemType));
        const auto back = read(recordOf(sent));
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, sent);
    }
}

TEST(ContainerRecord, ARecordCutShortAnywhereIsRefused) {
    for (const CapabilityContainer& sent : sentContainers()) {
        const Bytes whole = recordOf(sent);
        for (std::size_t size = 0; size < whole.size(); ++size) {
            SCOPED_TRACE("item type " + std::to_string(sent.itemType) + ", " +
                         std::to_string(size) + " of " + std::to_string(whole.size()) + " bytes");
            EXPECT_FALSE(read(Bytes(whole.begin(), whole.begin() + size)));
        }
    }
}

TEST(ContainerRecord, ARecordThatGoesOnPastItsContainerIsRefused) {
    for (const CapabilityContainer& sent : sentContainers()) {
        SCOPED_TRACE("item type " + std::to_string(sent.itemType));
        for (const Bytes& extra : {Bytes{0}, Bytes{0, 0, 0, 0}, Bytes(8, 0xFF)}) {
            Bytes longer = recordOf(sent);
            longer.insert(longer.end(), extra.begin(), extra.end());
            EXPECT_FALSE(read(longer)) << extra.size() << " bytes more";
        }
    }
}

TEST(ContainerRecord, OnlyTheStandardsItemTypesAreTaken) {
    for (const TW_UINT16 itemType : {TW_UINT16{13}, TW_UINT16{0x0F}, TW_UINT16{0xFFFF}}) {
        EXPECT_FALSE(read(recordOf(container(TWON_ARRAY, itemType)))) << itemType;
    }
    EXPECT_TRUE(read(recordOf(container(TWON_ARRAY, TWTY_STR255))));
}

// The count is judged before any room is made for the items: the fewest bytes an item can take
// is a text's count, four bytes.
TEST(ContainerRecord, ACountThatTheRecordCannotHoldIsRefused) {
    CapabilityContainer texts = container(TWON_ARRAY, TWTY_STR32);
    texts.texts = {"", "", ""};
    Bytes bytes = recordOf(texts);
    EXPECT_TRUE(read(bytes));
    bytes[4] = 4;  // four counted, three given
    EXPECT_FALSE(read(bytes));
    bytes[4] = 0xFF, bytes[5] = 0xFF, bytes[6] = 0xFF, bytes[7] = 0xFF;
    EXPECT_FALSE(read(bytes));
}

}  // namespace
