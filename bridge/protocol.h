// The channel between the bridge and its parent: every message is a 32-bit little-endian length
// of its payload, a 16-bit kind, then the payload. The parent asks, one request at a time, and the
// bridge answers each request with exactly one Answer, a page before it where the request gave
// one. Only Cancel is sent while a request is under way, and it is never answered.
#ifndef SCANLINK_BRIDGE_PROTOCOL_H
#define SCANLINK_BRIDGE_PROTOCOL_H

#include <cstddef>
#include <cstdint>

namespace bridge {

inline constexpr std::uint32_t kProtocolVersion = 1;
inline constexpr std::size_t kHeaderBytes = 6;
// No request carries more than a path or a container: anything longer is not from the parent.
inline constexpr std::uint32_t kMostRequestBytes = 1u << 20;
// A page goes in pieces of at most this many bytes, so that neither side holds two copies.
inline constexpr std::uint32_t kPageChunkBytes = 1u << 20;

enum class Kind : std::uint16_t {
    // From the bridge.
    Hello = 1,      // u32 protocol version, u32 pointer bits, text library version
    Answer = 2,     // u8 outcome, u32 state, u16 result code, u16 condition code, then the payload
    PageStart = 3,  // u8 whether the image could be locked, i64 its size in bytes
    PageBytes = 4,  // the next bytes of the page
    Fault = 5,      // text: the bridge stops, since what it read was no request
    // From the parent. The steps answer a u8 flag, the records u8 present then the record.
    Register = 16,  // u32 major, u32 minor, text manufacturer, family, product
    SelectSource = 17,
    OpenDefaultSource = 18,
    CloseSource = 19,
    Unregister = 20,
    StopTransfer = 21,
    PrepareTransfer = 22,
    AcquireImage = 23,  // the page, if any, then a u8 flag
    SetVisible = 24,    // u8 shown
    ListSources = 25,
    DefaultSource = 26,
    OpenSource = 27,       // the identity record
    ReadCapability = 28,   // u32 capability, u32 message
    SetCapability = 29,    // u32 capability, the container record
    SetFrame = 30,         // four i64, each edge's double as its bits
    TransferFailure = 31,  // answers an i64
    Cancel = 32,
    StartTrace = 33,  // text path
    StopTrace = 34,
    TraceLine = 35,  // text
};

enum class Outcome : std::uint8_t {
    Answered = 0,
    Refused = 1,  // an argument that cannot be used, before anything was sent: text follows
    OutOfMemory = 2,  // memory ran out in the bridge: text follows
    Failed = 3,       // the bridge could not carry the request out otherwise: text follows
};

// How the bridge ends.
inline constexpr int kExitDone = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitBadMessage = 3;
inline constexpr int kExitParentGone = 4;

}  // namespace bridge

#endif
