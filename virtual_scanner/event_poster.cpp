#include "event_poster.h"

#include "module_unloading.h"

namespace vscan {

EventPoster::~EventPoster() { cancel(); }

void EventPoster::schedule(HWND window, UINT message, WPARAM tag, std::chrono::milliseconds delay) {
    {
        std::lock_guard lock(mutex_);
        job_ = Job{window, message, tag, std::chrono::steady_clock::now() + delay};
        if (running_) {
            changed_.notify_all();
            return;
        }
        running_ = true;
    }
    // The thread of the last message has left its loop; it may still be on its way out.
    thread_.join();
    thread_.start(&EventPoster::body, this);
}

void EventPoster::cancel() {
    {
        std::lock_guard lock(mutex_);
        job_.reset();
    }
    changed_.notify_all();
    // While the module unloads no thread of its own runs (each holds it), or the unloading one is
    // the thread itself, past its loop; and the loader lock, which a thread needs to end, is held.
    if (!moduleUnloading()) {
        thread_.join();
    }
}

bool EventPoster::waiting() {
    std::lock_guard lock(mutex_);
    return waiting_;
}

void EventPoster::body(void* poster) { static_cast<EventPoster*>(poster)->run(); }

void EventPoster::run() {
    std::unique_lock lock(mutex_);
    while (job_) {
        if (std::chrono::steady_clock::now() < job_->due) {
            waiting_ = true;
            changed_.wait_until(lock, job_->due);
            waiting_ = false;
        } else {
            const Job job = *job_;
            job_.reset();
            PostMessageA(job.window, job.message, job.tag, 0);
        }
    }
    running_ = false;
}

}  // namespace vscan
