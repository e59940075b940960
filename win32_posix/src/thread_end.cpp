#include "thread_end.h"

#include <condition_variable>
#include <mutex>
#include <unordered_map>

#include "message_queue.h"

namespace win32posix {
namespace {

// Never destroyed, like the handle table: a thread may end while the process exits.
std::mutex& livesMutex() {
    static std::mutex* const mutex = new std::mutex;
    return *mutex;
}

std::condition_variable& threadEnded() {
    static auto* const condition = new std::condition_variable;
    return *condition;
}

std::unordered_map<DWORD, std::shared_ptr<ThreadLife>>& lives() {
    static auto* const all = new std::unordered_map<DWORD, std::shared_ptr<ThreadLife>>;
    return *all;
}

// Its destructor runs when the thread ends, once the thread has been watched.
struct ThreadEnd {
    ThreadEnd() {
        std::lock_guard lock(livesMutex());
        lives()[GetCurrentThreadId()] = std::make_shared<ThreadLife>();
    }
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
        {
            std::lock_guard lock(livesMutex());
            if (const auto it = lives().find(thread); it != lives().end()) {
                it->second->ended = true;
                lives().erase(it);
            }
        }
        threadEnded().notify_all();
    }
};

thread_local ThreadEnd threadEnd;

}  // namespace

void watchThreadEnd() { threadEnd.watch(); }

std::shared_ptr<ThreadLife> lifeOf(DWORD thread) {
    std::lock_guard lock(livesMutex());
    const auto it = lives().find(thread);
    return it != lives().end() ? it->second : nullptr;
}

bool awaitThreadEnd(const std::shared_ptr<ThreadLife>& life, std::chrono::milliseconds timeout) {
    std::unique_lock lock(livesMutex());
    const auto ended = [&life] { return life->ended; };
    if (timeout.count() < 0) {
        threadEnded().wait(lock, ended);
        return true;
    }
    return threadEnded().wait_for(lock, timeout, ended);
}

}  // namespace win32posix
