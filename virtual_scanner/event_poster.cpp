#include "event_poster.h"

namespace vscan {

EventPoster::~EventPoster() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void EventPoster::schedule(HWND window, UINT message, WPARAM tag, std::chrono::milliseconds delay) {
    {
        std::lock_guard lock(mutex_);
        job_ = Job{window, message, tag, std::chrono::steady_clock::now() + delay};
        if (!thread_.joinable()) {
            thread_ = std::thread(&EventPoster::run, this);
        }
    }
    changed_.notify_all();
}

void EventPoster::cancel() {
    {
        std::lock_guard lock(mutex_);
        job_.reset();
    }
    changed_.notify_all();
}

void EventPoster::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (!job_) {
            changed_.wait(lock);
        } else if (std::chrono::steady_clock::now() < job_->due) {
            changed_.wait_until(lock, job_->due);
        } else {
            const Job job = *job_;
            job_.reset();
            PostMessageA(job.window, job.message, job.tag, 0);
        }
    }
}

}  // namespace vscan
