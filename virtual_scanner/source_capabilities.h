// The source's capabilities and image layout, and the scan settings they add up to.
#ifndef VIRTUAL_SCANNER_SOURCE_CAPABILITIES_H
#define VIRTUAL_SCANNER_SOURCE_CAPABILITIES_H

#include "scan_settings.h"
#include "source_core.h"

namespace vscan {

class Capabilities {
public:
    explicit Capabilities(SourceCore& core) : core_(core) {}

    TW_UINT16 capability(TW_UINT16 msg, TW_CAPABILITY* capability);
    TW_UINT16 imageLayout(TW_UINT16 msg, TW_IMAGELAYOUT* layout);
    // Back to the device's defaults, as when the source is opened.
    void reset();

    const ScanSettings& settings() const { return settings_; }

    // The pages of a scan come from the glass, which holds one page per scan, or from the
    // document feeder while it is enabled. The transfer side starts a scan, asks whether a page
    // is there, and takes each page it transfers.
    void beginScan();
    bool pageAvailable() const;
    void takePage();

private:
    SourceCore& core_;
    ScanSettings settings_;
    bool pageOnGlass_ = false;
};

}  // namespace vscan

#endif
