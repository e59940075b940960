// The driver's worker thread: it posts the source's wake-up message to the application's window
// once a page is ready, as real drivers do from their own threads. It never touches the scanner's
// state, so it needs none of its locks. It runs only while a message is due, and a cancel ends it:
// no thread of the source outlives its disabling or closing, after which a manager may unload the
// module that holds its code. It holds that module while it runs (module_thread.h).
#ifndef VIRTUAL_SCANNER_EVENT_POSTER_H
#define VIRTUAL_SCANNER_EVENT_POSTER_H

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "module_thread.h"

namespace vscan {

class EventPoster {
  public:
    EventPoster() = default;
    ~EventPoster();
    EventPoster(const EventPoster&) = delete;
    EventPoster& operator=(const EventPoster&) = delete;

    // After `delay`, posts `message` with `tag` as its wParam to `window`; replaces what was
    // scheduled before.
    void schedule(HWND window, UINT message, WPARAM tag, std::chrono::milliseconds delay);
    // Nothing scheduled is posted any more, and the thread has ended.
    void cancel();

    // What the device's tests look at: whether the thread waits for the time of a message now,
    // and whether it was started and not yet waited for by a cancel or the next schedule (asked
    // where schedule and cancel are called, under the same lock).
    bool waiting();
    bool workerStarted() const { return thread_.started(); }

  private:
    struct Job {
        HWND window;
        UINT message;
        WPARAM tag;
        std::chrono::steady_clock::time_point due;
    };
    static void body(void* poster);
    void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Job> job_;
    bool running_ = false;
    bool waiting_ = false;
    ModuleThread thread_;
};

}  // namespace vscan

#endif
