#include "deadline.h"

#include <cstdio>
#include <cstdlib>

Deadline::Deadline(std::string what, std::chrono::seconds bound) {
    watchdog_ = std::thread([this, what = std::move(what), bound] {
        std::unique_lock lock(mutex_);
        if (!ended_.wait_for(lock, bound, [this] { return done_; })) {
            std::fprintf(stderr, "\nDeadlock: %s did not end within %lld s\n", what.c_str(),
                         static_cast<long long>(bound.count()));
            std::fflush(stderr);
            std::_Exit(3);
        }
    });
}

Deadline::~Deadline() {
    {
        std::lock_guard lock(mutex_);
        done_ = true;
    }
    ended_.notify_all();
    watchdog_.join();
}
