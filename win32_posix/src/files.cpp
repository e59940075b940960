// Files and the process, as the trace uses them: a move that replaces its target, the system's
// text for an error code, and what the process is.
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "win32_posix_test_hooks.h"

namespace {

std::atomic<int> failingMoves = 0;

DWORD errorOf(int error) {
    switch (error) {
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EBUSY:
        case ETXTBSY:
            return ERROR_SHARING_VIOLATION;
        default:
            return ERROR_ACCESS_DENIED;
    }
}

// The messages Windows gives for the codes above.
struct SystemMessage {
    DWORD code;
    const char* text;
};
constexpr SystemMessage kMessages[] = {
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
    {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
    {ERROR_SHARING_VIOLATION,
     "The process cannot access the file because it is being used by another process.\r\n"},
};

}  // namespace

extern "C" void win32posix_failFileMoves(int count) { failingMoves = count; }

// rename() replaces its target in one step, as MOVEFILE_REPLACE_EXISTING does; without the flag an
// existing target is refused.
extern "C" BOOL MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags) {
    if (failingMoves.load() > 0 && failingMoves.fetch_sub(1) > 0) {
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    if ((flags & MOVEFILE_REPLACE_EXISTING) == 0 && access(target, F_OK) == 0) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (std::rename(existing, target) != 0) {
        SetLastError(errorOf(errno));
        return FALSE;
    }
    return TRUE;
}

extern "C" DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer,
                                DWORD size, void*) {
    if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || buffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    for (const SystemMessage& message : kMessages) {
        const std::size_t length = std::strlen(message.text);
        if (message.code == messageId && length < size) {
            std::memcpy(buffer, message.text, length + 1);
            return static_cast<DWORD>(length);
        }
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
}

extern "C" DWORD GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

// The process's executable for a null module; the stand-in knows no other module's file.
extern "C" DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    if (module != 0 || buffer == nullptr || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const ssize_t length = readlink("/proc/self/exe", buffer, size - 1);
    if (length < 0) {
        SetLastError(errorOf(errno));
        return 0;
    }
    buffer[length] = '\0';
    return static_cast<DWORD>(length);
}
