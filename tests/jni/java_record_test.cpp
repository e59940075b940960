// The reader of the records that the VM hands over: every read is bounded by what the record
// holds, a text's count by the UTF-16 units that are left, and a read that fails takes nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "jni/java_record.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct NumberRead {
    const char* what;
    std::size_t size;
    bool (*read)(RecordReader&);
};

const NumberRead kNumbers[] = {
    {"u8", 1,
     [](RecordReader& r) {
         std::uint8_t v = 0;
         return r.u8(v);
     }},
    {"u16", 2,
     [](RecordReader& r) {
         std::uint32_t v = 0;
         return r.u16(v);
     }},
    {"u32", 4,
     [](RecordReader& r) {
         std::uint32_t v = 0;
         return r.u32(v);
     }},
    {"i64", 8,
     [](RecordReader& r) {
         std::int64_t v = 0;
         return r.i64(v);
     }},
};

TEST(RecordReader, ANumberIsReadWhenTheRecordHoldsItAndOneByteShortIsNot) {
    for (const NumberRead& n : kNumbers) {
        SCOPED_TRACE(n.what);
        RecordReader exact(Bytes(n.size, 0xA5));
        EXPECT_TRUE(n.read(exact));
        EXPECT_TRUE(exact.atEnd());
        RecordReader shortOne(Bytes(n.size - 1, 0xA5));
        EXPECT_FALSE(n.read(shortOne));
        EXPECT_EQ(shortOne.left(), n.size - 1);  // nothing taken
    }
}

TEST(RecordReader, NumbersAreLittleEndian) {
    RecordReader record(Bytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B,
                              0x0C, 0x0D, 0x0E, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    std::uint32_t u16 = 0;
    std::uint32_t u32 = 0;
    std::int64_t i64 = 0;
    std::int64_t minusOne = 0;
    ASSERT_TRUE(record.u16(u16) && record.u32(u32) && record.i64(i64) && record.i64(minusOne));
    EXPECT_EQ(u16, 0x0201u);
    EXPECT_EQ(u32, 0x06050403u);
    EXPECT_EQ(i64, 0x0E0D0C0B0A090807);
    EXPECT_EQ(minusOne, -1);
}

Bytes textRecord(std::uint32_t count, const std::u16string& units, std::size_t cut = 0) {
    Bytes bytes = {static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8),
                   static_cast<std::uint8_t>(count >> 16), static_cast<std::uint8_t>(count >> 24)};
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.resize(bytes.size() - cut);
    return bytes;
}

struct TextCase {
    const char* what;
    Bytes record;
    bool read;
    std::string text;
};

TEST(RecordReader, ATextsCountIsJudgedByTheUnitsLeftNotTheBytes) {
    const TextCase cases[] = {
        {"three units", textRecord(3, u"abc"), true, "abc"},
        {"no unit", textRecord(0, u""), true, ""},
        {"a unit of the code page above ASCII", textRecord(1, u"\u00fc"), true, "\xfc"},
        // Five bytes are more than three, but hold only two units and a half.
        {"three units less a byte", textRecord(3, u"abc", 1), false, ""},
        {"three units counted, two given", textRecord(3, u"ab"), false, ""},
        {"a count of 2^32 - 1", textRecord(0xFFFFFFFF, u"abcd"), false, ""},
        {"a count without its bytes", Bytes{3, 0, 0}, false, ""},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.what);
        RecordReader record(c.record);
        std::string text;
        EXPECT_EQ(record.text(text), c.read);
        if (c.read) {
            EXPECT_EQ(text, c.text);
            EXPECT_TRUE(record.atEnd());
        }
    }
}

TEST(RecordReader, TheEndIsWhereTheLastByteWasRead) {
    RecordReader record(Bytes{1, 2, 3});
    std::uint32_t value = 0;
    ASSERT_TRUE(record.u16(value));
    EXPECT_FALSE(record.atEnd());
    EXPECT_EQ(record.left(), 1u);
    std::uint8_t last = 0;
    ASSERT_TRUE(record.u8(last));
    EXPECT_TRUE(record.atEnd());
}

}  // namespace
