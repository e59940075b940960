#include <win32_posix_test_hooks.h>

#include <cstdlib>

#include "platform_probe.h"

void resetPlatform() { unsetenv("WINDIR"); }

std::size_t liveWindows() { return win32posix_liveWindows(); }

std::size_t liveGlobalHandles() { return win32posix_liveGlobalHandles(); }
