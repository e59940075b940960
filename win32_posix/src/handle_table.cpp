#include "handle_table.h"

#include <win32_posix_test_hooks.h>

#include <unordered_map>

namespace win32posix {
namespace {

// Never destroyed, as Windows keeps its handles until the process is gone: a thread of another
// library may still post or free something while the process exits.
std::mutex& tableMutex() {
    static std::mutex* const mutex = new std::mutex;
    return *mutex;
}

std::unordered_map<HANDLE, HandleObject>& table() {
    static auto* const handles = new std::unordered_map<HANDLE, HandleObject>;
    return *handles;
}
// Handles are multiples of 4, as Windows hands them out, and never 0.
HANDLE nextHandle = 0x100;

}  // namespace

std::unique_lock<std::mutex> lockHandles() { return std::unique_lock<std::mutex>(tableMutex()); }

HANDLE addHandle(HandleObject object) {
    do {
        nextHandle += 4;
    } while (nextHandle == 0 || table().contains(nextHandle));
    table().emplace(nextHandle, std::move(object));
    return nextHandle;
}

void removeHandle(HANDLE handle) { table().erase(handle); }

void removeHandlesWhere(const std::function<bool(const HandleObject&)>& predicate) {
    std::erase_if(table(), [&predicate](const auto& entry) { return predicate(entry.second); });
}

HandleObject* findObject(HANDLE handle) {
    auto it = table().find(handle);
    return it == table().end() ? nullptr : &it->second;
}

HANDLE findHandleWhere(const std::function<bool(const HandleObject&)>& predicate) {
    for (const auto& [handle, object] : table()) {
        if (predicate(object)) {
            return handle;
        }
    }
    return 0;
}

template <class T>
std::size_t countHandles() {
    std::size_t count = 0;
    for (const auto& [handle, object] : table()) {
        count += std::holds_alternative<T>(object) ? 1 : 0;
    }
    return count;
}

template std::size_t countHandles<GlobalBlock>();
template std::size_t countHandles<Window>();

}  // namespace win32posix

using namespace win32posix;

extern "C" size_t win32posix_liveGlobalHandles(void) {
    auto lock = lockHandles();
    return countHandles<GlobalBlock>();
}

extern "C" size_t win32posix_liveWindows(void) {
    auto lock = lockHandles();
    return countHandles<Window>();
}
