#include <thread>

#include "module_thread.h"

namespace vscan {

struct ModuleThread::Native {
    std::thread thread;
};

ModuleThread::ModuleThread() : native_(std::make_unique<Native>()) {}

ModuleThread::~ModuleThread() = default;

void ModuleThread::start(void (*body)(void*), void* argument) {
    native_->thread = std::thread(body, argument);
}

bool ModuleThread::started() const { return native_->thread.joinable(); }

void ModuleThread::join() {
    if (native_->thread.joinable()) {
        native_->thread.join();
    }
}

}  // namespace vscan
