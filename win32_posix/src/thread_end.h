// What happens when a thread ends, as Windows does it: its windows are destroyed and its message
// queue goes.
#ifndef WIN32_POSIX_THREAD_END_H
#define WIN32_POSIX_THREAD_END_H

namespace win32posix {

// Arranges for the calling thread's windows and queue to go when it ends; cheap to call again.
void watchThreadEnd();

}  // namespace win32posix

#endif
