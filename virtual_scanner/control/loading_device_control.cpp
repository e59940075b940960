// The controls of the device where the manager loads its source from a module of its own: what
// the source alone knows is asked of the loaded source through its own controls, without the
// manager's lock, which the source takes to read the knobs; with no source loaded, the source is
// closed and its settings are the defaults.
#include <string_view>

#include "device_windows.h"
#include "expected_page.h"
#include "handle_bits.h"
#include "loading_manager.h"
#include "scanner.h"
#include "virtual_scanner_control.h"

using namespace vscan;

namespace {

std::shared_ptr<SourceLibrary> loadedSource() {
    std::lock_guard lock(scannerMutex());
    return loadingManager().openLibrary();
}

}  // namespace

extern "C" {

void vscan_powerCycle(void) {
    std::lock_guard lock(scannerMutex());
    loadingManager().powerCycle();
}

size_t vscan_expectedPage(uint32_t* rgb, size_t count, int32_t* width, int32_t* height) {
    if (const auto source = loadedSource()) {
        if (const auto forward = source->find(&vscan_expectedPage, "vscan_expectedPage")) {
            return forward(rgb, count, width, height);
        }
    }
    std::lock_guard lock(scannerMutex());
    return expectedPage(scanner().source.settings(), rgb, count, width, height);
}

uint64_t vscan_window(const char* which) {
    const std::string_view name = which ? which : "";
    if (name == "manager.dialog") {
        std::lock_guard lock(scannerMutex());
        return handleBits(loadingManager().selectDialog());
    }
    if (const auto source = loadedSource()) {
        if (const auto forward = source->find(&vscan_window, "vscan_window")) {
            return forward(which);
        }
    }
    return 0;
}

int vscan_press(const char* which, int button) {
    const HWND dialog = handleFromBits<HWND>(vscan_window(which));
    return dialog && PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0) ? 1 : 0;
}

// The manager's own dialog's and the loaded source's.
long vscan_deviceMessages(void) {
    long received = deviceMessagesReceived();
    if (const auto source = loadedSource()) {
        if (const auto forward = source->find(&vscan_deviceMessages, "vscan_deviceMessages")) {
            received += forward();
        }
    }
    return received;
}

int32_t vscan_managerState(void) {
    std::lock_guard lock(scannerMutex());
    return loadingManager().state();
}

int32_t vscan_sourceState(void) {
    if (const auto source = loadedSource()) {
        if (const auto forward = source->find(&vscan_sourceState, "vscan_sourceState")) {
            return forward();
        }
    }
    return 0;
}

// With no source loaded, none of its threads is left: each holds its module.
int vscan_sourceWorker(void) {
    if (const auto source = loadedSource()) {
        if (const auto forward = source->find(&vscan_sourceWorker, "vscan_sourceWorker")) {
            return forward();
        }
    }
    return 0;
}

}  // extern "C"
