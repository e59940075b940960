#include "trace/trace_file.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Guarded by the lock; a path no longer than this is traced.
SRWLOCK fileLock = SRWLOCK_INIT;
FILE* file = nullptr;
char filePath[1024] = {};
std::string fileHeader;
std::uint64_t written = 0;
std::uint64_t limit = 0;

class Held {
  public:
    Held() { AcquireSRWLockExclusive(&fileLock); }
    ~Held() { ReleaseSRWLockExclusive(&fileLock); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
};

void complain(const char* path, const std::string& what) {
    std::fprintf(stderr, "scanlink32: the trace file %s %s; scanning goes on without it\n", path,
                 what.c_str());
}

// The system's words for an error of the C library.
std::string cReason(int error) { return std::string("(") + std::strerror(error) + ")"; }

// The system's words for a Win32 error, without the full stop and line end it gives them.
std::string win32Reason(DWORD error) {
    char text[256];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof(text), nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                          text[length - 1] == '.' || text[length - 1] == ' ')) {
        --length;
    }
    return "(Windows error " + std::to_string(error) +
           (length > 0 ? ": " + std::string(text, length) : std::string()) + ")";
}

void closeHeld() {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
}

// Writes the text and a line feed; false when the file took it only in part.
bool put(const std::string& text) {
    const bool whole = std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                       std::fputc('\n', file) != EOF && std::fflush(file) == 0;
    written += text.size() + 1;
    return whole;
}

// Opens the file for appending and learns its size; false with errno telling why.
bool reopen() {
    file = std::fopen(filePath, "ab");
    if (file == nullptr) {
        return false;
    }
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    written = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    return true;
}

// The full file replaces FILE.1 in one move, so that FILE.1 is never lost, and a new file begins
// with the header. When the move is refused (on Windows, while another process holds either file
// open), both files stay as they were, and the trace ends with a last line in the full file.
bool rollOver() {
    closeHeld();
    char kept[sizeof(filePath) + 2];
    std::snprintf(kept, sizeof(kept), "%s.1", filePath);
    if (!MoveFileExA(filePath, kept, MOVEFILE_REPLACE_EXISTING)) {
        const std::string why = "cannot be kept as " + std::string(kept) + " " +
                                win32Reason(GetLastError()) + ", and would grow past its limit";
        if (reopen()) {
            put("# trace stopped: the file " + why);
            closeHeld();
        }
        complain(filePath, why);
        return false;
    }
    if (!reopen()) {
        complain(filePath, "cannot be begun anew " + cReason(errno));
        return false;
    }
    return put(fileHeader);
}

}  // namespace

bool openTraceFile(const char* path, std::uint64_t rollOverBytes, const std::string& header) {
    Held held;
    closeHeld();
    if (path == nullptr || std::strlen(path) >= sizeof(filePath)) {
        complain(path ? path : "(none)", "has too long a name");
        return false;
    }
    std::strncpy(filePath, path, sizeof(filePath) - 1);
    limit = rollOverBytes;
    fileHeader = header;
    if (!reopen()) {
        complain(path, "cannot be opened " + cReason(errno));
        return false;
    }
    if (!put(fileHeader)) {
        complain(path, "cannot be written " + cReason(errno));
        closeHeld();
        return false;
    }
    return true;
}

void setTraceFileHeader(const std::string& header) {
    Held held;
    fileHeader = header;
}

void closeTraceFile() {
    Held held;
    closeHeld();
}

bool writeTraceLine(const std::string& line) {
    Held held;
    if (file == nullptr) {
        return false;
    }
    // A file that holds no more than its header is not rolled over: the line goes in whatever
    // its length.
    const bool beyondHeader = written > fileHeader.size() + 1;
    if (beyondHeader && written + line.size() + 1 > limit && !rollOver()) {
        closeHeld();
        return false;
    }
    if (!put(line)) {
        complain(filePath, "cannot be written " + cReason(errno));
        closeHeld();
        return false;
    }
    return true;
}
