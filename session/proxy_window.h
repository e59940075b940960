// The hidden window that stands in for the application's window. It belongs to the thread that
// created it, as every window does: only that thread may destroy it, and a change of its enabled
// state runs on that thread. What another thread asks of it is done when the owner next enters the
// session, or goes with the window when the owner thread ends.
#ifndef SCANLINK_SESSION_PROXY_WINDOW_H
#define SCANLINK_SESSION_PROXY_WINDOW_H

#include <windows.h>

// Creates the window on the calling thread; null when that fails.
HWND createProxyWindow();
// The window in the session's user interface record, or null.
HWND proxyWindow();
// Whether the calling thread owns the window, and so receives what is posted to it.
bool callerOwnsProxyWindow();
void enableProxyWindow(bool enable);
// Takes the window out of the session and destroys it on its own thread.
void destroyProxyWindow();
// Does what other threads left for windows of the calling thread. Runs under the session lock.
void tendProxyWindows();

#endif
