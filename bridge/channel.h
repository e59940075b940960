// One end of the bridge's channel, as the platform's pipes carry its bytes.
#ifndef SCANLINK_BRIDGE_CHANNEL_H
#define SCANLINK_BRIDGE_CHANNEL_H

#include <cstddef>

namespace bridge {

class Channel {
  public:
    virtual ~Channel() = default;
    // Up to `size` bytes into `into`; 0 once the other end is closed or the read failed.
    virtual std::size_t readSome(void* into, std::size_t size) = 0;
    // Every byte; false when the other end is gone.
    virtual bool writeAll(const void* from, std::size_t size) = 0;
};

}  // namespace bridge

#endif
