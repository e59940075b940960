// The controls of the script, the knobs and the log, which stay with the module that holds them
// (see device_control.cpp for those of the device itself).
#include <algorithm>
#include <cstring>

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

int vscan_knob(const char* name, int64_t* value) {
    std::lock_guard lock(scannerMutex());
    const auto knob = scanner().script.knob(name ? name : "");
    if (knob && value != nullptr) {
        *value = *knob;
    }
    return knob ? 1 : 0;
}

int64_t vscan_text(const char* name, char* buffer, size_t size) {
    std::lock_guard lock(scannerMutex());
    const auto text = scanner().script.text(name ? name : "");
    if (!text) {
        return -1;
    }
    if (buffer != nullptr && size > 0) {
        const size_t copied = std::min(size - 1, text->size());
        std::memcpy(buffer, text->data(), copied);
        buffer[copied] = '\0';
    }
    return static_cast<int64_t>(text->size());
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
