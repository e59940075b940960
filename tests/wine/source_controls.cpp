// The virtual scanner's test controls for the programs that drive the library under Wine: each
// forwards to the virtual scanner that the library's manager loads (scanner_module.h).
#include <virtual_scanner_control.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "scanner_module.h"

namespace {

// The control of that name; a source without it is not the virtual source.
template <class Function>
Function control(Function, const char* name) {
    const auto function = reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(virtualScannerModule(), name)));
    if (function == nullptr) {
        std::fprintf(stderr, "the source has no %s\n", name);
        std::abort();
    }
    return function;
}

}  // namespace

// Each control looks its counterpart up once, on its first call.
#define SCANLINK_FORWARD(name, ...)                    \
    static const auto forward = control(&name, #name); \
    return forward(__VA_ARGS__)

extern "C" {

void vscan_reset(void) { SCANLINK_FORWARD(vscan_reset); }

void vscan_powerCycle(void) { SCANLINK_FORWARD(vscan_powerCycle); }

void vscan_script(uint32_t dg, uint16_t dat, uint16_t msg, uint16_t resultCode,
                  uint16_t conditionCode, int32_t times) {
    SCANLINK_FORWARD(vscan_script, dg, dat, msg, resultCode, conditionCode, times);
}

void vscan_setKnob(const char* name, int64_t value) {
    SCANLINK_FORWARD(vscan_setKnob, name, value);
}

void vscan_setPageFiles(const char* list) { SCANLINK_FORWARD(vscan_setPageFiles, list); }

size_t vscan_expectedPage(uint32_t* rgb, size_t count, int32_t* width, int32_t* height) {
    SCANLINK_FORWARD(vscan_expectedPage, rgb, count, width, height);
}

int32_t vscan_managerState(void) { SCANLINK_FORWARD(vscan_managerState); }

int32_t vscan_sourceState(void) { SCANLINK_FORWARD(vscan_sourceState); }

size_t vscan_logSize(void) { SCANLINK_FORWARD(vscan_logSize); }

int vscan_logEntry(size_t index, struct VscanTriplet* out) {
    SCANLINK_FORWARD(vscan_logEntry, index, out);
}

size_t vscan_logData(size_t index, uint8_t* buffer, size_t size) {
    SCANLINK_FORWARD(vscan_logData, index, buffer, size);
}

size_t vscan_logOrigin(size_t index, uint8_t* buffer, size_t size) {
    SCANLINK_FORWARD(vscan_logOrigin, index, buffer, size);
}

size_t vscan_logContainer(size_t index, uint8_t* buffer, size_t size) {
    SCANLINK_FORWARD(vscan_logContainer, index, buffer, size);
}

}  // extern "C"
