// The session's way up to an open source and the teardown cascade back down, in which every step
// first runs the step below it.
#ifndef SCANLINK_SESSION_LIFECYCLE_H
#define SCANLINK_SESSION_LIFECYCLE_H

#include <cstdint>

bool openSourceManager(int32_t versionMajor, int32_t versionMinor, const char* manufacturer,
                       const char* productFamily, const char* productName);
bool selectSource();
bool openSource();
bool endTransfers();
bool disableSource();
bool closeSource();
bool unregister();

#endif
