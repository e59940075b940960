// A one-time signal between test threads.
#ifndef SCANLINK_TESTS_ONE_TIME_SIGNAL_H
#define SCANLINK_TESTS_ONE_TIME_SIGNAL_H

#include <chrono>
#include <condition_variable>
#include <mutex>

class Signal {
  public:
    void set() {
        std::lock_guard lock(mutex_);
        set_ = true;
        changed_.notify_all();
    }
    // Whether it was set within `bound`.
    bool waitFor(std::chrono::milliseconds bound) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, bound, [this] { return set_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool set_ = false;
};

#endif
