// What a capability's container holds, as the trace shows it, read only as far as its block
// reaches: the container is the source's, and untrusted.
#ifndef SCANLINK_TRACE_CONTAINER_TEXT_H
#define SCANLINK_TRACE_CONTAINER_TEXT_H

#include <string>

#include "twain/twain.h"

// "TWON_ONEVALUE TWTY_FIX32 150", "TWON_ENUMERATION TWTY_UINT16 current 2 of (0, 1, 2)",
// "TWON_RANGE TWTY_FIX32 -1000..1000 step 1 current 0", "TWON_ARRAY TWTY_UINT16 (257, 258)".
std::string describeContainer(TW_UINT16 conType, TW_HANDLE container);

#endif
