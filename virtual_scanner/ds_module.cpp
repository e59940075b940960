// What the virtual source does as a manager loads and unloads its module (Windows only).
#include <virtual_scanner_control.h>

#include "device_windows.h"
#include "manager_file.h"
#include "module_unloading.h"
#include "scanner.h"

using namespace vscan;

namespace {

// Under the virtual manager, the knobs and texts tests set are the manager's: they outlive this
// module, which the manager unloads at each MSG_CLOSEDS. Under any other manager, which has no
// controls even where its file has the virtual manager's name, the source keeps its own.
void readSettingsFromVirtualManager() {
    const HMODULE manager = GetModuleHandleA(kVirtualManagerFile);
    if (manager == nullptr) {
        return;
    }
    const auto knob = reinterpret_cast<decltype(&vscan_knob)>(
        reinterpret_cast<void (*)()>(GetProcAddress(manager, "vscan_knob")));
    const auto text = reinterpret_cast<decltype(&vscan_text)>(
        reinterpret_cast<void (*)()>(GetProcAddress(manager, "vscan_text")));
    if (knob != nullptr && text != nullptr) {
        readSettingsThrough(SettingsReader{knob, text});
    }
}

// A manager unloads the source without having closed it: the source closes here, and its windows
// go with its window class, whose procedure is about to vanish. No thread of the source runs any
// more: each holds the module while it runs (module_thread.h), so this runs on the manager's
// thread once the last has ended, or on that last thread, past its loop, as it lets the module go.
void unloading() {
    markModuleUnloading();
    {
        std::lock_guard lock(scannerMutex());
        if (scanner().source.isOpen()) {
            scanner().source.forceClose();
        }
    }
    if (const char* name = registeredDeviceClass()) {
        UnregisterClassA(name, nullptr);
    }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        readSettingsFromVirtualManager();
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded by FreeLibrary. When the process ends instead, its other threads are gone
        // already and the system takes back the rest.
        unloading();
    }
    return TRUE;
}
