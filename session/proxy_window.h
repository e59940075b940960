// The hidden window that stands in for the application's window. It belongs to the thread that
// created it, the session's owner, which is also the only thread that enables, disables or
// destroys it; when that thread ends, the window goes with it.
#ifndef SCANLINK_SESSION_PROXY_WINDOW_H
#define SCANLINK_SESSION_PROXY_WINDOW_H

#include <windows.h>

// Creates the window on the calling thread; null when that fails.
HWND createProxyWindow();
// The window in the session's user interface record, or null.
HWND proxyWindow();
void enableProxyWindow(bool enable);
// Takes the window out of the session and destroys it, unless it went with its thread.
void destroyProxyWindow();

#endif
