#include "thread_end.h"

#include <windows.h>

#include "handle_table.h"
#include "message_queue.h"

namespace win32posix {
namespace {

// Its destructor runs when the thread ends, once the thread has used a window or a queue.
struct ThreadEnd {
    void watch() {}
    ~ThreadEnd() {
        const DWORD thread = GetCurrentThreadId();
        {
            auto lock = lockHandles();
            removeHandlesWhere([thread](const HandleObject& object) {
                const Window* window = std::get_if<Window>(&object);
                return window != nullptr && window->ownerThread == thread;
            });
        }
        endThreadQueue(thread);
    }
};

thread_local ThreadEnd threadEnd;

}  // namespace

void watchThreadEnd() { threadEnd.watch(); }

}  // namespace win32posix
