// What happens when a thread ends, as Windows does it: its windows are destroyed, its message
// queue goes, and handles to it are signalled.
#ifndef WIN32_POSIX_THREAD_END_H
#define WIN32_POSIX_THREAD_END_H

#include <windows.h>

#include <chrono>
#include <memory>

#include "handle_table.h"

namespace win32posix {

// Arranges for the calling thread's windows and queue to go when it ends; cheap to call again.
void watchThreadEnd();

// The life of a thread that is watched and has not ended yet, or null.
std::shared_ptr<ThreadLife> lifeOf(DWORD thread);

// Whether the thread ended within `timeout` (negative: without limit).
bool awaitThreadEnd(const std::shared_ptr<ThreadLife>& life, std::chrono::milliseconds timeout);

}  // namespace win32posix

#endif
