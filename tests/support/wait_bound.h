// A bound on how long the calling thread may wait for messages: past it, WM_QUIT is posted to the
// thread, which ends any message wait there. A hang then shows as a failed expectation instead of
// stopping the test run.
#ifndef SCANLINK_TESTS_WAIT_BOUND_H
#define SCANLINK_TESTS_WAIT_BOUND_H

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class WaitBound {
  public:
    explicit WaitBound(std::chrono::milliseconds bound = std::chrono::seconds(5));
    ~WaitBound();
    WaitBound(const WaitBound&) = delete;
    WaitBound& operator=(const WaitBound&) = delete;

    // Whether the bound passed and the wait had to be ended from outside.
    bool exceeded();

  private:
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    bool exceeded_ = false;
    std::thread watchdog_;
};

#endif
