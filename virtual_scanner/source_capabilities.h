// The source's capabilities and image layout, and the scan settings they add up to.
//
// Reads (MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_QUERYSUPPORT) are answered in states 4 to 7,
// MSG_SET and MSG_RESET only in state 4, except the feeder commands, which a feeder takes in
// states 4 to 6. A MSG_SET with an enumeration or array restricts the values offered until
// MSG_RESET. Tests can bend any answer with the capability's knobs (virtual_scanner/README.md).
#ifndef VIRTUAL_SCANNER_SOURCE_CAPABILITIES_H
#define VIRTUAL_SCANNER_SOURCE_CAPABILITIES_H

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "application_container.h"
#include "capability_items.h"
#include "capability_table.h"
#include "document_feeder.h"
#include "scan_settings.h"
#include "source_core.h"

namespace vscan {

class Capabilities {
  public:
    explicit Capabilities(SourceCore& core) : core_(core) { reset(flatbedCapabilities()); }

    TW_UINT16 capability(TW_UINT16 msg, TW_CAPABILITY* capability);
    TW_UINT16 imageLayout(TW_UINT16 msg, TW_IMAGELAYOUT* layout);
    // The device with the capabilities of `table`, at its defaults, as when the source is opened;
    // the feeder holds the stack the knob "feeder.sheets" (or VIRTUAL_SCANNER_FEEDER_SHEETS) gives.
    void reset(std::span<const CapabilityRow> table);

    const ScanSettings& settings() const { return settings_; }
    bool showsIndicators() const { return flag(CAP_INDICATORS); }

    // The pages of a scan come from the glass, which holds one page per scan, or from the
    // document feeder while it is enabled. The transfer side starts a scan, asks whether a page
    // is there, and takes each page it transfers.
    void beginScan();
    bool pageAvailable() const;
    void takePage();

  private:
    TW_UINT16 answer(const CapabilityRow& row, TW_UINT16 msg, TW_CAPABILITY& request);
    void resetOne(const CapabilityRow& row);
    TW_UINT16 set(const CapabilityRow& row, const TW_CAPABILITY& request);
    TW_UINT16 judge(const CapabilityRow& row, double requested);
    TW_UINT16 setText(const CapabilityRow& row, const std::vector<std::uint8_t>& item);
    TW_UINT16 setFrameItem(TW_UINT16 itemType, const std::vector<std::uint8_t>& item);
    // An enumeration or array: every item must be one the device offers; they become all it
    // offers, and the current item (an array's first) its value.
    TW_UINT16 restrict(const CapabilityRow& row, const GivenContainer& given);
    TW_UINT16 command(const CapabilityRow& row);
    void store(const CapabilityRow& row, double value);
    // The number an item means to the capability, in the device's own units, when it is one the
    // device offers.
    std::optional<double> offeredValue(const CapabilityRow& row, TW_UINT16 itemType,
                                       const std::vector<std::uint8_t>& item) const;
    void describeFrame(const ScanSettings& frame, TW_IMAGELAYOUT& layout) const;
    TW_UINT16 setFrame(const TW_FRAME& frame);

    CapabilityValues valuesOf(const CapabilityRow& row) const;
    void addTexts(const CapabilityRow& row, CapabilityValues& values) const;
    void addFrames(CapabilityValues& values) const;
    // What the device offers, and what it offers now that a MSG_SET may have restricted it.
    std::vector<double> deviceOffers(const CapabilityRow& row) const;
    std::vector<double> offered(const CapabilityRow& row) const;
    std::vector<std::string> offeredTexts(const CapabilityRow& row) const;
    TW_UINT16 fullContainer(const CapabilityRow& row) const;
    double currentOf(const CapabilityRow& row) const;
    double defaultOf(const CapabilityRow& row) const;
    double value(TW_UINT16 id) const { return values_.at(id); }
    bool flag(TW_UINT16 id) const { return values_.count(id) != 0 && value(id) != 0; }

    // A value in inches, dots per inch or plain, as reported in the current units, and back.
    double toUnits(Measure measure, double value) const;
    double fromUnits(Measure measure, double value) const;

    std::optional<int64_t> knob(const CapabilityRow& row, std::string_view field) const;
    void syncSettings();

    SourceCore& core_;
    std::span<const CapabilityRow> table_;
    std::map<TW_UINT16, double> values_;  // in inches, dots per inch or plain
    std::map<TW_UINT16, std::string> texts_;
    // What a MSG_SET with an enumeration or array left offered, until MSG_RESET.
    std::map<TW_UINT16, std::vector<double>> restricted_;
    std::map<TW_UINT16, std::vector<std::string>> restrictedTexts_;
    ScanSettings settings_;
    DocumentFeeder feeder_;
    bool pageOnGlass_ = false;
};

}  // namespace vscan

#endif
