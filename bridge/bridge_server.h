// The bridge's service: one TWAIN session, served to the parent over the channel it gave at birth.
// The calling thread owns the session and runs the requests one at a time; a thread of its own
// reads the channel, so that a cancel ends a wait for a page at once and a parent that is gone
// ends the bridge even while a driver holds the session's thread.
#ifndef SCANLINK_BRIDGE_BRIDGE_SERVER_H
#define SCANLINK_BRIDGE_BRIDGE_SERVER_H

#include "bridge/channel.h"

namespace bridge {

// Serves until the parent closes the channel or sends what is no request, takes the session
// down, and ends the process with its exit code (protocol.h).
[[noreturn]] void serveSession(Channel& channel);

}  // namespace bridge

#endif
