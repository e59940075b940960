// Capability requests by number, with the whole container: the reads MSG_GET, MSG_GETCURRENT,
// MSG_GETDEFAULT, MSG_RESET and MSG_QUERYSUPPORT, and MSG_SET with a container of the caller's.
// Both need an open source; the source's block is freed on every path.
#ifndef SCANLINK_SETTINGS_CAPABILITY_REQUESTS_H
#define SCANLINK_SETTINGS_CAPABILITY_REQUESTS_H

#include <functional>
#include <optional>

#include "settings/capability_container.h"
#include "settings/global_memory.h"

// Sends `msg` for the capability, with `asked` as the request's container type, and hands the
// block the source answered to `use`, locked, with the container type it answered; the block is
// freed afterwards. `use` gets null when the source answered without a block, and a block that
// tests false when it cannot be locked. False, and `use` not called, when no source is open or the
// request failed; only a request that succeeded hands the block over to the application.
bool requestContainer(TW_UINT16 capability, TW_UINT16 msg, TW_UINT16 asked,
                      const std::function<void(const LockedBytes* block, TW_UINT16 conType)>& use);

// Whether `msg` is one of the reads above.
bool isCapabilityRead(TW_UINT16 msg);

// The container the source answered, or why it could not be read; none when no source is open or
// the request failed, which the session's codes then tell.
std::optional<ContainerResult> readCapability(TW_UINT16 capability, TW_UINT16 msg);

// Sends the container's bytes (layContainer) with MSG_SET. True when the source took it; the
// session's codes tell whether it took the value as given (TWRC_SUCCESS) or another one
// (TWRC_CHECKSTATUS).
bool setCapability(TW_UINT16 capability, TW_UINT16 conType, const std::vector<std::uint8_t>& laid);

#endif
