#include "wait_bound.h"

WaitBound::WaitBound(std::chrono::milliseconds bound) {
    const DWORD waiter = GetCurrentThreadId();
    watchdog_ = std::thread([this, bound, waiter] {
        std::unique_lock lock(mutex_);
        if (!stopped_.wait_for(lock, bound, [this] { return stopping_; })) {
            exceeded_ = true;
            PostThreadMessageA(waiter, WM_QUIT, 0, 0);
        }
    });
}

WaitBound::~WaitBound() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    watchdog_.join();
}

bool WaitBound::exceeded() {
    std::lock_guard lock(mutex_);
    return exceeded_;
}
