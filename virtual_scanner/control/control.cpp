#include <algorithm>
#include <cstring>
#include <string_view>

#include "device_windows.h"
#include "handle_bits.h"
#include "page_render.h"
#include "scanner.h"
#include "virtual_scanner_control.h"

using namespace vscan;

namespace {

size_t copyOut(const std::vector<uint8_t>& bytes, uint8_t* buffer, size_t size) {
    if (buffer != nullptr) {
        std::memcpy(buffer, bytes.data(), std::min(size, bytes.size()));
    }
    return bytes.size();
}

const LoggedTriplet* logEntry(size_t index) {
    const auto& log = scanner().log;
    return index < log.size() ? &log[index] : nullptr;
}

}  // namespace

extern "C" {

void vscan_reset(void) {
    std::lock_guard lock(scannerMutex());
    scanner().log.clear();
    scanner().script.clear();
}

void vscan_powerCycle(void) {
    std::lock_guard lock(scannerMutex());
    scanner().manager.powerCycle();
}

void vscan_script(uint32_t dg, uint16_t dat, uint16_t msg, uint16_t resultCode,
                  uint16_t conditionCode, int32_t times) {
    std::lock_guard lock(scannerMutex());
    scanner().script.add(dg, dat, msg, ScriptedAnswer{resultCode, conditionCode}, times);
}

void vscan_setKnob(const char* name, int64_t value) {
    std::lock_guard lock(scannerMutex());
    scanner().script.setKnob(name, value);
}

void vscan_setPageFiles(const char* list) {
    std::lock_guard lock(scannerMutex());
    scanner().script.setText("pages.files", list ? list : "");
}

size_t vscan_expectedPage(uint32_t* rgb, size_t count, int32_t* width, int32_t* height) {
    std::lock_guard lock(scannerMutex());
    const ScanSettings& settings = scanner().source.settings();
    const PageSize size = pageSize(settings);
    *width = size.width;
    *height = size.height;
    const size_t total = static_cast<size_t>(size.width) * static_cast<size_t>(size.height);
    if (rgb != nullptr && count >= total) {
        for (int32_t row = 0; row < size.height; ++row) {
            for (int32_t column = 0; column < size.width; ++column) {
                const Rgb c = pagePixel(settings, column, row);
                *rgb++ = static_cast<uint32_t>(c.red) << 16 | c.green << 8 | c.blue;
            }
        }
    }
    return total;
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

int32_t vscan_sourceState(void) {
    std::lock_guard lock(scannerMutex());
    return scanner().source.state();
}

size_t vscan_logSize(void) {
    std::lock_guard lock(scannerMutex());
    return scanner().log.size();
}

void vscan_clearLog(void) {
    std::lock_guard lock(scannerMutex());
    scanner().log.clear();
}

int vscan_logEntry(size_t index, struct VscanTriplet* out) {
    std::lock_guard lock(scannerMutex());
    const LoggedTriplet* entry = logEntry(index);
    if (entry == nullptr || out == nullptr) {
        return 0;
    }
    *out = VscanTriplet{entry->originId,
                        entry->toSource ? 1 : 0,
                        entry->destinationId,
                        entry->dg,
                        entry->dat,
                        entry->msg,
                        entry->resultCode,
                        entry->statusCondition,
                        static_cast<uint32_t>(entry->thread),
                        entry->refusedForThread ? 1 : 0};
    return 1;
}

size_t vscan_logData(size_t index, uint8_t* buffer, size_t size) {
    std::lock_guard lock(scannerMutex());
    const LoggedTriplet* entry = logEntry(index);
    return entry ? copyOut(entry->data, buffer, size) : 0;
}

size_t vscan_logOrigin(size_t index, uint8_t* buffer, size_t size) {
    std::lock_guard lock(scannerMutex());
    const LoggedTriplet* entry = logEntry(index);
    return entry ? copyOut(entry->origin, buffer, size) : 0;
}

size_t vscan_logContainer(size_t index, uint8_t* buffer, size_t size) {
    std::lock_guard lock(scannerMutex());
    const LoggedTriplet* entry = logEntry(index);
    return entry ? copyOut(entry->container, buffer, size) : 0;
}

}  // extern "C"
