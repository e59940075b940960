// Messages read from a channel whose bytes the test chooses: every length a header can announce,
// and a channel that ends anywhere in a message.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bridge/message.h"
#include "bridge/protocol.h"

namespace {

// Hands out its bytes a few at a time, as a pipe may.
class BytesChannel final : public bridge::Channel {
  public:
    explicit BytesChannel(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    std::size_t readSome(void* into, std::size_t size) override {
        const std::size_t count = std::min({size, bytes_.size() - at_, std::size_t{3}});
        if (count > 0) {  // an empty vector's data() may be null
            std::memcpy(into, bytes_.data() + at_, count);
        }
        at_ += count;
        return count;
    }
    bool writeAll(const void* from, std::size_t size) override {
        const auto* bytes = static_cast<const std::uint8_t*>(from);
        written_.insert(written_.end(), bytes, bytes + size);
        return true;
    }
    const std::vector<std::uint8_t>& written() const { return written_; }

  private:
    std::vector<std::uint8_t> bytes_;
    std::size_t at_ = 0;
    std::vector<std::uint8_t> written_;
};

std::vector<std::uint8_t> header(std::uint32_t length, std::uint16_t kind) {
    return {static_cast<std::uint8_t>(length),       static_cast<std::uint8_t>(length >> 8),
            static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24),
            static_cast<std::uint8_t>(kind),         static_cast<std::uint8_t>(kind >> 8)};
}

std::vector<std::uint8_t> withPayload(std::vector<std::uint8_t> bytes, std::size_t count) {
    bytes.resize(bytes.size() + count, 0x5A);
    return bytes;
}

struct ReadCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::uint32_t bound;
    bridge::ReadResult expected;
    std::size_t payloadSize;
};

void PrintTo(const ReadCase& read, std::ostream* out) { *out << read.name; }

class MessageRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(MessageRead, ReadsOrSaysWhy) {
    BytesChannel channel(GetParam().bytes);
    bridge::Message message;
    EXPECT_EQ(bridge::readMessage(channel, GetParam().bound, message), GetParam().expected);
    if (GetParam().expected == bridge::ReadResult::Read) {
        EXPECT_EQ(message.kind, 0x1234);
        EXPECT_EQ(message.payload.size(), GetParam().payloadSize);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Channel, MessageRead,
    ::testing::Values(ReadCase{"Empty", {}, 64, bridge::ReadResult::Closed, 0},
                      ReadCase{"NoPayload", header(0, 0x1234), 64, bridge::ReadResult::Read, 0},
                      ReadCase{"HeaderCut", {6, 0, 0}, 64, bridge::ReadResult::Truncated, 0},
                      ReadCase{"KindCut", {6, 0, 0, 0, 0x34}, 64, bridge::ReadResult::Truncated, 0},
                      ReadCase{"PayloadAtBound", withPayload(header(64, 0x1234), 64), 64,
                               bridge::ReadResult::Read, 64},
                      ReadCase{"PayloadOnePastBound", withPayload(header(65, 0x1234), 65), 64,
                               bridge::ReadResult::TooLong, 0},
                      ReadCase{"PayloadOneShort", withPayload(header(64, 0x1234), 63), 64,
                               bridge::ReadResult::Truncated, 0},
                      // Four gigabytes announced: refused before a byte is allocated.
                      ReadCase{"LargestLength", header(0xFFFFFFFF, 0x1234),
                               bridge::kMostRequestBytes, bridge::ReadResult::TooLong, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageWrite, IsReadBackAsWritten) {
    BytesChannel out({});
    const std::uint8_t payload[] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(bridge::writeMessage(out, 0xBEEF, payload, sizeof(payload)));
    BytesChannel in(out.written());
    bridge::Message message;
    ASSERT_EQ(bridge::readMessage(in, 16, message), bridge::ReadResult::Read);
    EXPECT_EQ(message.kind, 0xBEEF);
    EXPECT_EQ(message.payload, std::vector<std::uint8_t>(payload, payload + sizeof(payload)));
    EXPECT_EQ(bridge::readMessage(in, 16, message), bridge::ReadResult::Closed);
}

}  // namespace
