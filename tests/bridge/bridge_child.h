// A bridge process started as its parent starts it: its standard input and output are the
// channel, held only by this object. Implemented once per platform.
#ifndef SCANLINK_TESTS_BRIDGE_CHILD_H
#define SCANLINK_TESTS_BRIDGE_CHILD_H

#include <memory>
#include <string>

#include "bridge/channel.h"

class BridgeChild {
  public:
    virtual ~BridgeChild() = default;

    // Starts the program at `path` (a full path); none when it cannot be started.
    static std::unique_ptr<BridgeChild> start(const std::string& path);

    virtual bridge::Channel& channel() = 0;
    // Closes the bridge's standard input: to the bridge, its parent is gone.
    virtual void closeInput() = 0;
    // Its exit code once it has ended within `milliseconds`; -1 when it has not, and it is then
    // ended by the destructor.
    virtual int exitCode(int milliseconds) = 0;
};

#endif
