#include <algorithm>
#include <cstring>

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
    *out = VscanTriplet{
        entry->originId, entry->toSource ? 1 : 0, entry->destinationId,  entry->dg, entry->dat,
        entry->msg,      entry->resultCode,       entry->statusCondition};
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
