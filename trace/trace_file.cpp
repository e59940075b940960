#include "trace/trace_file.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

// Guarded by the lock; a path no longer than this is traced.
SRWLOCK fileLock = SRWLOCK_INIT;
FILE* file = nullptr;
char filePath[1024] = {};
std::uint64_t written = 0;
std::uint64_t limit = 0;

class Held {
  public:
    Held() { AcquireSRWLockExclusive(&fileLock); }
    ~Held() { ReleaseSRWLockExclusive(&fileLock); }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
};

void complain(const char* what, const char* path) {
    std::fprintf(stderr, "scanlink32: the trace %s %s; scanning goes on without it\n", what, path);
}

void closeHeld() {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
}

// Reopens the file for appending and learns its size.
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

// The full file is kept as FILE.1, replacing the one before, and a new file begun.
bool rollOver() {
    closeHeld();
    char kept[sizeof(filePath) + 2];
    std::snprintf(kept, sizeof(kept), "%s.1", filePath);
    std::remove(kept);
    std::rename(filePath, kept);
    return reopen();
}

}  // namespace

bool openTraceFile(const char* path, std::uint64_t rollOverBytes) {
    Held held;
    closeHeld();
    if (path == nullptr || std::strlen(path) >= sizeof(filePath)) {
        complain("file name is too long:", path ? path : "(none)");
        return false;
    }
    std::strncpy(filePath, path, sizeof(filePath) - 1);
    limit = rollOverBytes;
    if (!reopen()) {
        complain("file cannot be opened:", path);
        return false;
    }
    return true;
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
    if (written != 0 && written + line.size() + 1 > limit && !rollOver()) {
        complain("file cannot be begun anew:", filePath);
        return false;
    }
    const bool whole = std::fwrite(line.data(), 1, line.size(), file) == line.size() &&
                       std::fputc('\n', file) != EOF && std::fflush(file) == 0;
    written += line.size() + 1;
    if (!whole) {
        complain("file cannot be written:", filePath);
        closeHeld();
    }
    return whole;
}
