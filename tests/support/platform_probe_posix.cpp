#include <win32_posix_test_hooks.h>

#include <cstdlib>
#include <thread>

#include "platform_probe.h"

void resetPlatform() { unsetenv("WINDIR"); }

std::size_t liveWindows() { return win32posix_liveWindows(); }

std::size_t liveGlobalHandles() { return win32posix_liveGlobalHandles(); }

void awaitMessageWait(unsigned long thread) {
    while (!win32posix_isWaitingForMessages(static_cast<DWORD>(thread))) {
        std::this_thread::yield();
    }
}
