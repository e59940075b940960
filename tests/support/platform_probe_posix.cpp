#include <win32_posix_test_hooks.h>

#include <cstdlib>
#include <thread>

#include "platform_probe.h"

void resetPlatform() { unsetenv("WINDIR"); }

std::size_t liveWindows() { return win32posix_liveWindows(); }

std::size_t liveGlobalHandles() { return win32posix_liveGlobalHandles(); }

void awaitSentMessage(unsigned long thread, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (win32posix_sentMessagesWaiting(static_cast<DWORD>(thread)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
}

bool failNextWindowCreation() {
    win32posix_failWindowCreations(1);
    return true;
}

void awaitMessageWait(unsigned long thread) {
    while (!win32posix_isWaitingForMessages(static_cast<DWORD>(thread))) {
        std::this_thread::yield();
    }
}
