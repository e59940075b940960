// Per-thread message queues: a message posted to a window goes to the queue of the thread that
// created the window, and only that thread's GetMessageA retrieves it. A message sent to a window
// of another thread waits until that thread takes it in GetMessageA.
#ifndef WIN32_POSIX_MESSAGE_QUEUE_H
#define WIN32_POSIX_MESSAGE_QUEUE_H

#include <windows.h>

#include <chrono>
#include <memory>

#include "handle_table.h"

namespace win32posix {

// Gives the calling thread its queue, as its first window does on Windows.
void createThreadQueue();
void postToThread(DWORD thread, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Messages still queued for a window that is being destroyed are dropped.
void discardWindowMessages(DWORD thread, HWND window);
// Runs the window procedure on the window's own thread: at once when that is the calling thread,
// else by the owner's GetMessageA, while the caller waits. The caller is released without a result
// when the owner ends first.
LRESULT sendToWindow(DWORD owner, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Events end the waits of the queues too: setting one wakes every thread that waits for it,
// whether for messages as well or for the event alone. An auto-reset event is reset by the wait
// it ends.
void setEvent(const std::shared_ptr<EventState>& event);
// Whether the event was set within `timeout` (negative: without limit).
bool awaitEvent(const std::shared_ptr<EventState>& event, std::chrono::milliseconds timeout);
// The calling thread ends: its queue goes, and every thread waiting on a message sent to it is
// released.
void endThreadQueue(DWORD thread);

}  // namespace win32posix

#endif
