// A bridge process started as its parent starts it: its standard input and output are the
// channel, held only by this object. Implemented once per platform.
#ifndef SCANLINK_TESTS_BRIDGE_CHILD_H
#define SCANLINK_TESTS_BRIDGE_CHILD_H

#include <memory>
#include <string>

#include "bridge/channel.h"

class BridgeChild {
  public:
    // The exit code of a bridge that kill() ended: a shell's for SIGKILL, which the Windows child
    // is given as well, so that a parent tells a killed bridge from one that ended on its own.
    static constexpr int kKilledExitCode = 137;

    virtual ~BridgeChild() = default;

    // Starts the program at `path` (a full path); none when it cannot be started. It inherits
    // this process's environment.
    static std::unique_ptr<BridgeChild> start(const std::string& path);

    virtual bridge::Channel& channel() = 0;
    // Closes the bridge's standard input: to the bridge, its parent is gone.
    virtual void closeInput() = 0;
    // Ends the bridge at once, wherever it is, as a crash would.
    virtual void kill() = 0;
    // Its exit code once it has ended within `milliseconds`; -1 when it has not, and it is then
    // ended by the destructor.
    virtual int exitCode(int milliseconds) = 0;
};

// The environment that the next bridge started inherits.
std::string childEnvironment(const char* name);
void setChildEnvironment(const char* name, const std::string& value);

#endif
