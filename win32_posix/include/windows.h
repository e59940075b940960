// The Win32 calls this project uses, for POSIX hosts.
//
// Handles are 32-bit values from a handle table, as wide as they are on 32-bit Windows, so the
// TWAIN records that carry them keep their 32-bit layout. Code that must build on both platforms
// writes a null handle as `{}` or 0, never NULL or nullptr: here a handle is an integer, on
// Windows a pointer.
#ifndef WIN32_POSIX_WINDOWS_H
#define WIN32_POSIX_WINDOWS_H

#include <pthread.h>
#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define WIN32_POSIX_API __attribute__((visibility("default")))
#else
#define WIN32_POSIX_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// There is one calling convention on the host.
#define WINAPI
#define APIENTRY
#define CALLBACK
#define PASCAL

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint64_t DWORDLONG;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef char CHAR;
typedef char16_t WCHAR;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef const WCHAR* LPCWSTR;
typedef WCHAR* LPWSTR;
typedef BOOL* LPBOOL;
typedef void* LPVOID;
typedef void* LPSECURITY_ATTRIBUTES;
typedef const void* LPCVOID;
typedef size_t SIZE_T;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef WORD ATOM;

typedef uint32_t HANDLE;
typedef HANDLE HWND;
typedef HANDLE HGLOBAL;
typedef HANDLE HMODULE;
typedef HANDLE HINSTANCE;
typedef HANDLE HMENU;
typedef HANDLE HICON;
typedef HANDLE HCURSOR;
typedef HANDLE HBRUSH;

typedef intptr_t (*FARPROC)(void);
typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);

#define FALSE 0
#define TRUE 1
#define MAX_PATH 260

#define ERROR_SUCCESS 0L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_TIMEOUT 1460L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_INVALID_WINDOW_HANDLE 1400L
#define ERROR_CANNOT_FIND_WND_CLASS 1407L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_INVALID_THREAD_ID 1444L

// Waiting
#define SYNCHRONIZE 0x00100000L
#define INFINITE 0xFFFFFFFF
#define WAIT_OBJECT_0 0L
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED ((DWORD)0xFFFFFFFF)
#define QS_ALLINPUT 0x04FF
#define MWMO_INPUTAVAILABLE 0x0004
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

// Code pages
#define CP_ACP 0

// Global memory
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

typedef struct _MEMORYSTATUS {
    DWORD dwLength;
    DWORD dwMemoryLoad;
    SIZE_T dwTotalPhys;
    SIZE_T dwAvailPhys;
    SIZE_T dwTotalPageFile;
    SIZE_T dwAvailPageFile;
    SIZE_T dwTotalVirtual;
    SIZE_T dwAvailVirtual;
} MEMORYSTATUS, *LPMEMORYSTATUS;

typedef struct _MEMORYSTATUSEX {
    DWORD dwLength;
    DWORD dwMemoryLoad;
    DWORDLONG ullTotalPhys;
    DWORDLONG ullAvailPhys;
    DWORDLONG ullTotalPageFile;
    DWORDLONG ullAvailPageFile;
    DWORDLONG ullTotalVirtual;
    DWORDLONG ullAvailVirtual;
    DWORDLONG ullAvailExtendedVirtual;
} MEMORYSTATUSEX, *LPMEMORYSTATUSEX;

// Windows and messages
#define WS_POPUP 0x80000000L
#define WS_VISIBLE 0x10000000L
#define WS_BORDER 0x00800000L
#define WS_SYSMENU 0x00080000L
#define WS_POPUPWINDOW (WS_POPUP | WS_BORDER | WS_SYSMENU)
#define CW_USEDEFAULT ((int)0x80000000)

#define WM_NULL 0x0000
#define WM_DESTROY 0x0002
#define WM_ENABLE 0x000A
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_COMMAND 0x0111
#define WM_USER 0x0400
#define WM_APP 0x8000

#define IDOK 1
#define IDCANCEL 2

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
} WNDCLASSA;

// A slim reader/writer lock, used exclusively. All zero bytes are its unlocked state, as on
// Windows, so a lock of static storage needs no initialisation.
typedef struct _SRWLOCK {
    pthread_mutex_t mutex;
} SRWLOCK, *PSRWLOCK;
#define SRWLOCK_INIT \
    { PTHREAD_MUTEX_INITIALIZER }

// A condition variable that sleeps with a slim lock held exclusively; all zero bytes is its
// initial state, as on Windows.
typedef struct _CONDITION_VARIABLE {
    pthread_cond_t condition;
} CONDITION_VARIABLE, *PCONDITION_VARIABLE;
#define CONDITION_VARIABLE_INIT \
    { PTHREAD_COND_INITIALIZER }

// Errors
WIN32_POSIX_API DWORD GetLastError(void);
WIN32_POSIX_API void SetLastError(DWORD error);

// System information
WIN32_POSIX_API UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
WIN32_POSIX_API void GlobalMemoryStatus(LPMEMORYSTATUS status);
WIN32_POSIX_API BOOL GlobalMemoryStatusEx(LPMEMORYSTATUSEX status);

// Files and processes
#define MOVEFILE_REPLACE_EXISTING 0x1
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x200
#define FORMAT_MESSAGE_FROM_SYSTEM 0x1000
WIN32_POSIX_API BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags);
WIN32_POSIX_API DWORD FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                                     LPSTR buffer, DWORD size, void* arguments);
WIN32_POSIX_API DWORD GetCurrentProcessId(void);
WIN32_POSIX_API DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);

// Modules
WIN32_POSIX_API HMODULE LoadLibraryA(LPCSTR fileName);
WIN32_POSIX_API FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
WIN32_POSIX_API BOOL FreeLibrary(HMODULE module);

// Strings
WIN32_POSIX_API int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount,
                                        LPSTR multi, int multiSize, LPCSTR defaultChar,
                                        LPBOOL usedDefaultChar);
WIN32_POSIX_API int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multi, int multiCount,
                                        LPWSTR wide, int wideSize);

// Global memory
WIN32_POSIX_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
WIN32_POSIX_API LPVOID GlobalLock(HGLOBAL mem);
WIN32_POSIX_API BOOL GlobalUnlock(HGLOBAL mem);
WIN32_POSIX_API HGLOBAL GlobalFree(HGLOBAL mem);
WIN32_POSIX_API SIZE_T GlobalSize(HGLOBAL mem);

// Locks
WIN32_POSIX_API void AcquireSRWLockExclusive(PSRWLOCK lock);
WIN32_POSIX_API void ReleaseSRWLockExclusive(PSRWLOCK lock);
// Only INFINITE and exclusive locking (flags 0) are known here.
WIN32_POSIX_API BOOL SleepConditionVariableSRW(PCONDITION_VARIABLE condition, PSRWLOCK lock,
                                               DWORD milliseconds, DWORD flags);
WIN32_POSIX_API void WakeAllConditionVariable(PCONDITION_VARIABLE condition);

// Threads and events. A thread handle is signalled once the thread has ended; a thread is seen to
// end when it has opened a handle to itself, or used a window or a message queue. Events have no
// names here.
WIN32_POSIX_API HANDLE OpenThread(DWORD access, BOOL inheritHandle, DWORD threadId);
WIN32_POSIX_API HANDLE CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset,
                                    BOOL initialState, LPCSTR name);
WIN32_POSIX_API BOOL SetEvent(HANDLE event);
WIN32_POSIX_API DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
WIN32_POSIX_API BOOL CloseHandle(HANDLE handle);

// Windows. A window belongs to the thread that creates it and is destroyed with that thread.
WIN32_POSIX_API ATOM RegisterClassA(const WNDCLASSA* wndClass);
WIN32_POSIX_API HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName,
                                     DWORD style, int x, int y, int width, int height, HWND parent,
                                     HMENU menu, HINSTANCE instance, LPVOID param);
WIN32_POSIX_API BOOL DestroyWindow(HWND window);
WIN32_POSIX_API BOOL IsWindow(HWND window);
// Sends WM_ENABLE when the state changes; from another thread the call waits until the window's
// thread takes it in GetMessageA, or ends.
WIN32_POSIX_API BOOL EnableWindow(HWND window, BOOL enable);
WIN32_POSIX_API BOOL IsWindowEnabled(HWND window);
WIN32_POSIX_API DWORD GetWindowThreadProcessId(HWND window, DWORD* processId);
WIN32_POSIX_API LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Messages
WIN32_POSIX_API DWORD GetCurrentThreadId(void);
WIN32_POSIX_API BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax);
// Like GetMessageA without waiting: messages sent from other threads are handled, then a posted
// message is taken (PM_REMOVE) or looked at. FALSE when there is none.
WIN32_POSIX_API BOOL PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax,
                                  UINT removeFlags);
// Waits until one of the events is set (WAIT_OBJECT_0 + its index) or the thread's queue holds
// input, sent or posted (WAIT_OBJECT_0 + count). Only INFINITE, QS_ALLINPUT and
// MWMO_INPUTAVAILABLE are known here.
WIN32_POSIX_API DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles,
                                                  DWORD milliseconds, DWORD wakeMask, DWORD flags);
WIN32_POSIX_API BOOL TranslateMessage(const MSG* msg);
WIN32_POSIX_API LRESULT DispatchMessageA(const MSG* msg);
WIN32_POSIX_API BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the window procedure on the window's own thread: at once on that thread, else inside that
// thread's GetMessageA while the caller waits.
WIN32_POSIX_API LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WIN32_POSIX_API BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
WIN32_POSIX_API void PostQuitMessage(int exitCode);

#ifdef __cplusplus
}
#endif

#endif
