#include "source_capabilities.h"

namespace vscan {

TW_UINT16 Capabilities::capability(TW_UINT16, TW_CAPABILITY*) {
    if (!core_.inStates(4, 7)) {
        return core_.fail(TWCC_SEQERROR);
    }
    return core_.fail(TWCC_CAPUNSUPPORTED);
}

TW_UINT16 Capabilities::imageLayout(TW_UINT16, TW_IMAGELAYOUT*) {
    if (!core_.inStates(4, 6)) {
        return core_.fail(TWCC_SEQERROR);
    }
    return core_.fail(TWCC_BADPROTOCOL);
}

void Capabilities::reset() {
    settings_ = ScanSettings{};
    pageOnGlass_ = false;
}

void Capabilities::beginScan() { pageOnGlass_ = true; }

bool Capabilities::pageAvailable() const { return pageOnGlass_; }

void Capabilities::takePage() { pageOnGlass_ = false; }

}  // namespace vscan
