// Per-thread message queues: a message posted to a window goes to the queue of the thread that
// created the window, and only that thread's GetMessageA retrieves it.
#ifndef WIN32_POSIX_MESSAGE_QUEUE_H
#define WIN32_POSIX_MESSAGE_QUEUE_H

#include <windows.h>

namespace win32posix {

void postToThread(DWORD thread, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Messages still queued for a window that is being destroyed are dropped.
void discardWindowMessages(DWORD thread, HWND window);

}  // namespace win32posix

#endif
