#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "bridge/bridge_platform.h"

namespace bridge {

namespace {

class HandleChannel final : public Channel {
  public:
    HandleChannel(HANDLE in, HANDLE out) : in_(in), out_(out) {}
    ~HandleChannel() override {
        CloseHandle(in_);
        CloseHandle(out_);
    }
    HandleChannel(const HandleChannel&) = delete;
    HandleChannel& operator=(const HandleChannel&) = delete;

    std::size_t readSome(void* into, std::size_t size) override {
        DWORD got = 0;
        const DWORD asked = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        if (!ReadFile(in_, into, asked, &got, nullptr)) {
            return 0;
        }
        return got;
    }

    bool writeAll(const void* from, std::size_t size) override {
        const auto* at = static_cast<const char*>(from);
        while (size > 0) {
            const DWORD asked = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
            DWORD put = 0;
            if (!WriteFile(out_, at, asked, &put, nullptr) || put == 0) {
                return false;
            }
            at += put;
            size -= put;
        }
        return true;
    }

  private:
    HANDLE in_;
    HANDLE out_;
};

// A handle of this process's own that no child inherits.
HANDLE ownCopy(HANDLE handle) {
    HANDLE copy = nullptr;
    const HANDLE self = GetCurrentProcess();
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(self, handle, self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        return nullptr;
    }
    return copy;
}

struct ThreadStart {
    void (*body)(void*);
    void* argument;
};

DWORD WINAPI runThread(LPVOID start) {
    const ThreadStart begun = *static_cast<ThreadStart*>(start);
    delete static_cast<ThreadStart*>(start);
    begun.body(begun.argument);
    return 0;
}

}  // namespace

std::unique_ptr<Channel> takeStandardChannel() {
    const HANDLE in = ownCopy(GetStdHandle(STD_INPUT_HANDLE));
    const HANDLE out = ownCopy(GetStdHandle(STD_OUTPUT_HANDLE));
    if (in == nullptr || out == nullptr) {
        return nullptr;
    }
    // The C runtime's descriptors and the process's standard handles both leave the channel.
    SetStdHandle(STD_OUTPUT_HANDLE, GetStdHandle(STD_ERROR_HANDLE));
    _dup2(_fileno(stderr), _fileno(stdout));
    const HANDLE nothing = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    if (nothing != INVALID_HANDLE_VALUE) {
        SetStdHandle(STD_INPUT_HANDLE, nothing);
    }
    const int noInput = _open("NUL", _O_RDONLY);
    if (noInput >= 0) {
        _dup2(noInput, _fileno(stdin));
        _close(noInput);
    }
    return std::make_unique<HandleChannel>(in, out);
}

bool startThread(void (*body)(void*), void* argument) {
    auto* start = new ThreadStart{body, argument};
    const HANDLE thread = CreateThread(nullptr, 0, runThread, start, 0, nullptr);
    if (thread == nullptr) {
        delete start;
        return false;
    }
    CloseHandle(thread);
    return true;
}

// The parent holds the other end of the channel: when it ends, the channel ends, and the
// bridge's reader ends the process (bridge_server.cpp).
void endWithParent() {}

void endProcess(int code) {
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    ExitProcess(static_cast<UINT>(code));
}

}  // namespace bridge
