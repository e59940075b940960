// What the bridge needs of its platform, implemented once per platform: the channel its parent
// gave it at birth, a thread, and an end that runs nothing more.
#ifndef SCANLINK_BRIDGE_BRIDGE_PLATFORM_H
#define SCANLINK_BRIDGE_BRIDGE_PLATFORM_H

#include <memory>

#include "bridge/channel.h"

namespace bridge {

// The standard input and output as the channel. From then on the process's standard output goes
// to its standard error and its standard input reads nothing, so that nothing a driver prints or
// reads touches the channel.
std::unique_ptr<Channel> takeStandardChannel();

// Runs `body(argument)` on a new thread. False when no thread could be made.
bool startThread(void (*body)(void*), void* argument);

// Asks the system to end this process when its parent ends, where it can tell.
void endWithParent();

// Ends the process at once with `code`: no destructor, no library's detach, since the thread of
// the session may be stuck in a driver.
[[noreturn]] void endProcess(int code);

}  // namespace bridge

#endif
