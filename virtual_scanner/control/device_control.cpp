// The controls of the device itself, where manager and source live in the same module.
#include <string_view>

#include "device_windows.h"
#include "expected_page.h"
#include "handle_bits.h"
#include "scanner.h"
#include "virtual_scanner_control.h"

using namespace vscan;

extern "C" {

void vscan_powerCycle(void) {
    std::lock_guard lock(scannerMutex());
    scanner().manager.powerCycle();
}

size_t vscan_expectedPage(uint32_t* rgb, size_t count, int32_t* width, int32_t* height) {
    std::lock_guard lock(scannerMutex());
    return expectedPage(scanner().source.settings(), rgb, count, width, height);
}

uint64_t vscan_window(const char* which) {
    std::lock_guard lock(scannerMutex());
    const std::string_view name = which ? which : "";
    HWND window = {};
    if (name == "source.dialog") {
        window = scanner().source.windows().dialog();
    } else if (name == "source.progress") {
        window = scanner().source.windows().progress();
    } else if (name == "manager.dialog") {
        window = scanner().manager.selectDialog();
    }
    return handleBits(window);
}

int vscan_press(const char* which, int button) {
    const HWND dialog = handleFromBits<HWND>(vscan_window(which));
    return dialog && PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0) ? 1 : 0;
}

long vscan_deviceMessages(void) { return deviceMessagesReceived(); }

int32_t vscan_managerState(void) {
    std::lock_guard lock(scannerMutex());
    return scanner().manager.state();
}

int vscan_sourceWorker(void) {
    std::lock_guard lock(scannerMutex());
    return scanner().source.workerStarted() ? 1 : 0;
}

int32_t vscan_sourceState(void) {
    std::lock_guard lock(scannerMutex());
    return scanner().source.state();
}

}  // extern "C"
