// The session's way up to an open source and the teardown cascade back down, in which every step
// first runs the step below it.
#ifndef SCANLINK_SESSION_LIFECYCLE_H
#define SCANLINK_SESSION_LIFECYCLE_H

#include <cstdint>

#include "twain/twain.h"

bool openSourceManager(int32_t versionMajor, int32_t versionMinor, const char* manufacturer,
                       const char* productFamily, const char* productName);
bool selectSource();
bool openSource();
// Opens the source of that identity, as listed by the manager: the manager picks it by its Id, or
// by its product name when the Id is 0. The same steps and answers as openSource.
bool openSourceAs(const TW_IDENTITY& identity);
bool endTransfers();
bool disableSource();
bool closeSource();
bool unregister();

#endif
