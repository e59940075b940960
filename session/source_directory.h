// The sources the manager knows: their identities, as MSG_GETFIRST and MSG_GETNEXT list them, and
// the default one. The manager must be open.
#ifndef SCANLINK_SESSION_SOURCE_DIRECTORY_H
#define SCANLINK_SESSION_SOURCE_DIRECTORY_H

#include <vector>

#include "twain/twain.h"

// More sources than any machine has; a manager that lists more never ends its list.
inline constexpr std::size_t kMostSources = 1024;

// Every source, in the manager's order. False when a request failed, or the list did not end
// within kMostSources; the session's codes then tell why.
bool listSources(std::vector<TW_IDENTITY>& sources);

// The manager's default source.
bool findDefaultSource(TW_IDENTITY& source);

#endif
