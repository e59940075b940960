// A thread of the virtual scanner that holds the module whose code it runs for as long as it
// runs. A manager may unload the source's module without closing the source: the module then
// stays until its last thread has ended, and goes as that thread ends, never under it. On Windows
// the thread takes its hold when it is started and lets it go with FreeLibraryAndExitThread, whose
// last steps are the system's; on the POSIX host the module is never unloaded.
#ifndef VIRTUAL_SCANNER_MODULE_THREAD_H
#define VIRTUAL_SCANNER_MODULE_THREAD_H

#include <memory>

namespace vscan {

class ModuleThread {
  public:
    ModuleThread();
    ~ModuleThread();
    ModuleThread(const ModuleThread&) = delete;
    ModuleThread& operator=(const ModuleThread&) = delete;

    // Runs body(argument) on a new thread; the one started before must have been joined.
    void start(void (*body)(void*), void* argument);
    // Waits until the thread started last has ended; at once when there is none.
    void join();
    // Whether a thread was started and not yet waited for: it may still run.
    bool started() const;

  private:
    struct Native;
    std::unique_ptr<Native> native_;
};

}  // namespace vscan

#endif
