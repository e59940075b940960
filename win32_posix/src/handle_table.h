// One table for every kind of handle, so that handles are small non-zero 32-bit values as on 32-bit
// Windows, and a handle of one kind given where another is expected is simply not found.
#ifndef WIN32_POSIX_HANDLE_TABLE_H
#define WIN32_POSIX_HANDLE_TABLE_H

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <variant>

namespace win32posix {

struct GlobalBlock {
    std::unique_ptr<std::byte[]> bytes;
    SIZE_T size = 0;
    unsigned lockCount = 0;
    bool moveable = false;
};

struct Window {
    DWORD ownerThread = 0;
    WNDPROC procedure = nullptr;
    bool enabled = true;
};

struct Module {
    void* library = nullptr;
    unsigned references = 0;
};

// Whether a thread has ended, shared by every handle to it.
struct ThreadLife {
    bool ended = false;
};

struct Thread {
    std::shared_ptr<ThreadLife> life;
};

// An event's state is kept by the message queues, whose waits it ends.
struct EventState {
    bool manualReset = false;
    bool signalled = false;
};

struct Event {
    std::shared_ptr<EventState> state;
};

using HandleObject = std::variant<GlobalBlock, Window, Module, Thread, Event>;

// Every access goes through the table's lock; callers hold it with lockHandles() while they use
// what find() gave them, and never while calling out (window procedures, the dynamic loader).
std::unique_lock<std::mutex> lockHandles();
HANDLE addHandle(HandleObject object);
void removeHandle(HANDLE handle);
void removeHandlesWhere(const std::function<bool(const HandleObject&)>& predicate);

HandleObject* findObject(HANDLE handle);
// The first handle whose object satisfies the predicate, or 0.
HANDLE findHandleWhere(const std::function<bool(const HandleObject&)>& predicate);

template <class T>
T* findHandle(HANDLE handle) {
    HandleObject* object = findObject(handle);
    return object ? std::get_if<T>(object) : nullptr;
}

template <class T>
std::size_t countHandles();

}  // namespace win32posix

#endif
