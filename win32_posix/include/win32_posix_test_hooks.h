// What tests may ask the POSIX Win32 layer that Windows itself does not tell: how many handles are
// alive, so that a scenario can prove it released everything it took.
#ifndef WIN32_POSIX_INSPECT_H
#define WIN32_POSIX_INSPECT_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Global memory handles allocated and not yet freed, in the whole process.
WIN32_POSIX_API size_t win32posix_liveGlobalHandles(void);
// Windows created and not yet destroyed, in the whole process.
WIN32_POSIX_API size_t win32posix_liveWindows(void);
// Messages waiting in the calling thread's queue.
WIN32_POSIX_API size_t win32posix_queuedMessages(void);
// Whether the thread is blocked in GetMessageA, waiting for a message.
WIN32_POSIX_API BOOL win32posix_isWaitingForMessages(DWORD thread);
// Messages sent to the thread's windows from other threads that the thread has not taken yet.
WIN32_POSIX_API size_t win32posix_sentMessagesWaiting(DWORD thread);
// The next `count` calls of CreateWindowExA fail, as when the system has no room for a window.
WIN32_POSIX_API void win32posix_failWindowCreations(int count);
// The next `count` calls of MoveFileExA fail with ERROR_SHARING_VIOLATION and move nothing, as on
// Windows when another process holds the file open.
WIN32_POSIX_API void win32posix_failFileMoves(int count);
// The file name most recently given to LoadLibraryA, as given (empty before the first call).
WIN32_POSIX_API const char* win32posix_lastLoadLibraryName(void);

#ifdef __cplusplus
}
#endif

#endif
