#include "event_poster.h"

#include "module_unloading.h"

namespace vscan {

EventPoster::~EventPoster() { cancel(); }

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
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        if (moduleUnloading()) {
            // The loader lock is held, and a thread cannot end before it is let go: waiting for
            // its end would wait for ever. It says instead when it has left its loop; what is left
            // of its way out runs into the system's thread exit, which waits for that lock. Only a
            // manager that unloads a source it never closed gets here.
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return finished_; });
            thread_.detach();
        } else {
            thread_.join();
        }
    }
    std::lock_guard lock(mutex_);
    stopping_ = false;
    finished_ = false;
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
    finished_ = true;
    changed_.notify_all();
}

}  // namespace vscan
