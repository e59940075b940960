#include <windows.h>

#include "module_thread.h"

namespace vscan {
namespace {

struct Start {
    void (*body)(void*);
    void* argument;
    HMODULE module;
};

DWORD WINAPI threadMain(LPVOID parameter) {
    const Start start = *static_cast<Start*>(parameter);
    delete static_cast<Start*>(parameter);
    start.body(start.argument);
    // The last reference may be this one: the module then goes here, and the thread ends in the
    // system's code, not in the module's.
    FreeLibraryAndExitThread(start.module, 0);
}

}  // namespace

struct ModuleThread::Native {
    HANDLE handle = nullptr;
};

ModuleThread::ModuleThread() : native_(std::make_unique<Native>()) {}

ModuleThread::~ModuleThread() = default;

void ModuleThread::start(void (*body)(void*), void* argument) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCSTR>(&threadMain), &module)) {
        return;
    }
    auto* start = new Start{body, argument, module};
    native_->handle = CreateThread(nullptr, 0, threadMain, start, 0, nullptr);
    if (native_->handle == nullptr) {
        delete start;
        FreeLibrary(module);
    }
}

bool ModuleThread::started() const { return native_->handle != nullptr; }

void ModuleThread::join() {
    if (native_->handle != nullptr) {
        WaitForSingleObject(native_->handle, INFINITE);
        CloseHandle(native_->handle);
        native_->handle = nullptr;
    }
}

}  // namespace vscan
