#include "bridge/message.h"

#include <limits>

#include "bridge/protocol.h"

namespace bridge {

namespace {

// False when the channel ends before `size` bytes came; `got` tells how many did.
bool readExactly(Channel& channel, std::uint8_t* into, std::size_t size, std::size_t& got) {
    got = 0;
    while (got < size) {
        const std::size_t read = channel.readSome(into + got, size - got);
        if (read == 0) {
            return false;
        }
        got += read;
    }
    return true;
}

}  // namespace

ReadResult readMessage(Channel& channel, std::uint32_t bound, Message& message) {
    std::uint8_t header[kHeaderBytes];
    std::size_t got = 0;
    if (!readExactly(channel, header, sizeof(header), got)) {
        return got == 0 ? ReadResult::Closed : ReadResult::Truncated;
    }
    const std::uint32_t length =
        static_cast<std::uint32_t>(header[0]) | static_cast<std::uint32_t>(header[1]) << 8 |
        static_cast<std::uint32_t>(header[2]) << 16 | static_cast<std::uint32_t>(header[3]) << 24;
    if (length > bound) {
        return ReadResult::TooLong;
    }
    message.kind = static_cast<std::uint16_t>(header[4] | header[5] << 8);
    message.payload.resize(length);
    return readExactly(channel, message.payload.data(), length, got) ? ReadResult::Read
                                                                     : ReadResult::Truncated;
}

bool writeMessage(Channel& channel, std::uint16_t kind, const std::uint8_t* payload,
                  std::size_t size) {
    if (size > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    const auto length = static_cast<std::uint32_t>(size);
    const std::uint8_t header[kHeaderBytes] = {
        static_cast<std::uint8_t>(length),       static_cast<std::uint8_t>(length >> 8),
        static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24),
        static_cast<std::uint8_t>(kind),         static_cast<std::uint8_t>(kind >> 8)};
    return channel.writeAll(header, sizeof(header)) &&
           (size == 0 || channel.writeAll(payload, size));
}

const char* describe(ReadResult result) {
    switch (result) {
        case ReadResult::Read:
            return "a message";
        case ReadResult::Closed:
            return "the channel was closed";
        case ReadResult::Truncated:
            return "the channel ended inside a message";
        case ReadResult::TooLong:
            return "a message announced more bytes than any request has";
    }
    return "an unknown result";
}

}  // namespace bridge
