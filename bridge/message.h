// Messages on a channel: read with a bound on their length, written whole.
#ifndef SCANLINK_BRIDGE_MESSAGE_H
#define SCANLINK_BRIDGE_MESSAGE_H

#include <cstdint>
#include <vector>

#include "bridge/channel.h"

namespace bridge {

struct Message {
    std::uint16_t kind = 0;
    std::vector<std::uint8_t> payload;
};

enum class ReadResult {
    Read,
    Closed,     // the channel ended between two messages
    Truncated,  // the channel ended inside a message
    TooLong,    // the header announced more than the bound
};

// The next message. Its payload is allocated only once its length is known to be within `bound`.
ReadResult readMessage(Channel& channel, std::uint32_t bound, Message& message);

// Writes the header and the payload. False when the channel is gone.
bool writeMessage(Channel& channel, std::uint16_t kind, const std::uint8_t* payload,
                  std::size_t size);

// What a result means, for the line that reports it.
const char* describe(ReadResult result);

}  // namespace bridge

#endif
