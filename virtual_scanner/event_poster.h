// The driver's worker thread: it posts the source's wake-up message to the application's window
// once a page is ready, as real drivers do from their own threads. It never touches the scanner's
// state, so it needs none of its locks. It runs from the first scan to the next cancel, which
// ends it: no thread of the source outlives its disabling or closing, after which a manager may
// unload the module that holds its code.
#ifndef VIRTUAL_SCANNER_EVENT_POSTER_H
#define VIRTUAL_SCANNER_EVENT_POSTER_H

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

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

  private:
    struct Job {
        HWND window;
        UINT message;
        WPARAM tag;
        std::chrono::steady_clock::time_point due;
    };
    void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Job> job_;
    bool stopping_ = false;
    bool finished_ = false;  // the thread's last act in this module
    std::thread thread_;
};

}  // namespace vscan

#endif
