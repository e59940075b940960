#include "source_capabilities.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "global_block.h"

namespace vscan {
namespace {

constexpr int32_t kSourceOpen = 4;

TW_FIX32 toFix32(double value) {
    const TW_UINT32 item = encodeItem(TWTY_FIX32, value);
    return TW_FIX32{static_cast<TW_INT16>(static_cast<TW_UINT16>(item)),
                    static_cast<TW_UINT16>(item >> 16)};
}

double fromFix32(TW_FIX32 value) {
    const TW_UINT32 item = static_cast<TW_UINT16>(value.Whole) | static_cast<TW_UINT32>(value.Frac)
                                                                     << 16;
    return decodeItem(TWTY_FIX32, item).value_or(0);
}

double unitsPerInch(TW_UINT16 units) {
    switch (units) {
        case TWUN_CENTIMETERS:
            return 2.54;
        case TWUN_PICAS:
            return 6;
        case TWUN_POINTS:
            return 72;
        case TWUN_TWIPS:
            return 1440;
        case TWUN_MILLIMETERS:
            return 25.4;
        default:
            return 1;
    }
}

TW_UINT32 indexOf(const std::vector<double>& list, double value) {
    const auto it = std::find(list.begin(), list.end(), value);
    return it == list.end() ? 0 : static_cast<TW_UINT32>(it - list.begin());
}

// The TWQC_ bits of what the capability really answers: every capability is read; what the
// device only reports is not set or reset, and a command has no default to go back to.
TW_INT32 supportOf(const CapabilityRow& row) {
    const TW_INT32 reads = TWQC_GET | TWQC_GETCURRENT | TWQC_GETDEFAULT;
    switch (row.constraint) {
        case Constraint::ReadOnly:
        case Constraint::List:
            return reads;
        case Constraint::Command:
            return reads | TWQC_SET;
        default:
            return reads | TWQC_SET | TWQC_RESET;
    }
}

}  // namespace

TW_UINT16 Capabilities::capability(TW_UINT16 msg, TW_CAPABILITY* request) {
    if (request == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    const bool read =
        msg == MSG_GET || msg == MSG_GETCURRENT || msg == MSG_GETDEFAULT || msg == MSG_QUERYSUPPORT;
    if (!read && msg != MSG_SET && msg != MSG_RESET) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    const CapabilityRow* row = findCapability(table_, request->Cap);
    const bool feederCommand = row != nullptr && row->constraint == Constraint::Command;
    const bool stateAllows = read                              ? core_.inStates(4, 7)
                             : feederCommand && msg == MSG_SET ? core_.inStates(4, 6)
                                                               : core_.state == kSourceOpen;
    if (!stateAllows) {
        return core_.fail(TWCC_SEQERROR);
    }
    if (row == nullptr || knob(*row, "unsupported").value_or(0) != 0) {
        return core_.fail(TWCC_CAPUNSUPPORTED);
    }
    if (read) {
        return answer(*row, msg, *request);
    }
    if (msg == MSG_SET) {
        return set(*row, *request);
    }
    // MSG_RESET: back to the device's default, answered as MSG_GETCURRENT would be.
    resetOne(*row);
    return answer(*row, MSG_GETCURRENT, *request);
}

// Back to the default, with every value offered again. What the device only reports, and the
// commands, have nothing to reset.
void Capabilities::resetOne(const CapabilityRow& row) {
    restricted_.erase(row.id);
    restrictedTexts_.erase(row.id);
    if (row.constraint == Constraint::ReadOnly) {
        return;
    }
    if (row.constraint == Constraint::Frame) {
        const ScanSettings defaults;
        settings_.frameLeft = defaults.frameLeft;
        settings_.frameTop = defaults.frameTop;
        settings_.frameRight = defaults.frameRight;
        settings_.frameBottom = defaults.frameBottom;
    } else if (const auto texts = textsOf(row.id); !texts.empty()) {
        texts_[row.id] = std::string(texts.front());
    } else if (values_.count(row.id) != 0) {
        store(row, defaultOf(row));
    }
}

TW_UINT16 Capabilities::answer(const CapabilityRow& row, TW_UINT16 msg, TW_CAPABILITY& request) {
    CapabilityValues values;
    TW_UINT16 conType = row.currentContainer;
    if (msg == MSG_QUERYSUPPORT) {
        values.itemType = TWTY_INT32;
        values.current = supportOf(row);
        values.list = {values.current};
        conType = TWON_ONEVALUE;
    } else {
        values = valuesOf(row);
    }
    if (msg == MSG_GET) {
        conType = fullContainer(row);
    } else if (msg == MSG_GETDEFAULT) {
        conType = row.constraint == Constraint::List ? TWON_ARRAY : TWON_ONEVALUE;
        values.current = values.fallback;
        values.currentIndex = values.defaultIndex;
        values.rawCurrent = values.rawDefault;
    }
    if (const auto forced = knob(row, "container")) {
        conType = static_cast<TW_UINT16>(*forced);
    }
    ContainerOverrides overrides;
    if (const auto type = knob(row, "itemType")) {
        overrides.itemType = static_cast<TW_UINT16>(*type);
    }
    if (const auto item = knob(row, "item")) {
        overrides.item = static_cast<TW_UINT32>(*item);
    }
    if (const auto index = knob(row, "currentIndex")) {
        overrides.currentIndex = static_cast<TW_UINT32>(*index);
    }
    if (const auto count = knob(row, "numItems")) {
        overrides.numItems = static_cast<TW_UINT32>(*count);
    }
    if (const auto step = knob(row, "step")) {
        overrides.step = static_cast<TW_UINT32>(*step);
    }
    overrides.unterminated = knob(row, "unterminated").value_or(0) != 0;
    request.ConType = conType;

    const auto blockSize = knob(row, "blockSize");
    if (blockSize == -1) {
        request.hContainer = {};
        return TWRC_SUCCESS;
    }
    if (blockSize == -2) {
        // A handle, but of a window: no memory block to lock.
        request.hContainer = core_.appWindow;
        return TWRC_SUCCESS;
    }
    std::vector<std::uint8_t> bytes = layContainer(conType, values, overrides);
    if (blockSize && *blockSize >= 0) {
        bytes.resize(static_cast<std::size_t>(*blockSize));
    }
    const HGLOBAL block = globalBlockOf(bytes);
    if (!block) {
        return core_.fail(TWCC_LOWMEMORY);
    }
    request.hContainer = block;  // the application frees it
    return TWRC_SUCCESS;
}

// The container a full read (MSG_GET) answers with: every allowed value, or the range.
TW_UINT16 Capabilities::fullContainer(const CapabilityRow& row) const {
    switch (row.constraint) {
        case Constraint::Range:
            return TWON_RANGE;
        case Constraint::List:
            return TWON_ARRAY;
        case Constraint::Count:
        case Constraint::ReadOnly:
        case Constraint::Text:
            return TWON_ONEVALUE;
        default:
            return TWON_ENUMERATION;
    }
}

CapabilityValues Capabilities::valuesOf(const CapabilityRow& row) const {
    CapabilityValues v;
    v.itemType = row.itemType;
    if (isText(row.itemType)) {
        addTexts(row, v);
        return v;
    }
    if (row.constraint == Constraint::Frame) {
        addFrames(v);
        return v;
    }
    v.current = toUnits(row.measure, currentOf(row));
    v.fallback = toUnits(row.measure, defaultOf(row));
    v.step = 1;
    switch (row.constraint) {
        case Constraint::Flag:
        case Constraint::Command:
            v.list = {0, 1};
            v.max = 1;
            break;
        case Constraint::Choice:
        case Constraint::Steps:
            for (double offer : offered(row)) {
                v.list.push_back(toUnits(row.measure, offer));
            }
            v.min = *std::min_element(v.list.begin(), v.list.end());
            v.max = *std::max_element(v.list.begin(), v.list.end());
            v.step = v.list.size() > 1 ? v.list[1] - v.list[0] : 1;
            break;
        case Constraint::Range:
            v.list = {row.min, v.fallback, v.current, row.max};
            std::sort(v.list.begin(), v.list.end());
            v.list.erase(std::unique(v.list.begin(), v.list.end()), v.list.end());
            v.min = row.min;
            v.max = row.max;
            v.step = row.step;
            break;
        case Constraint::Count:
            v.list = {v.current};
            v.min = -1;
            v.max = kMaxTransferCount;
            break;
        case Constraint::List:
            for (const CapabilityRow& other : table_) {
                v.list.push_back(other.id);
            }
            v.min = *std::min_element(v.list.begin(), v.list.end());
            v.max = *std::max_element(v.list.begin(), v.list.end());
            break;
        default:
            v.list = {v.current};
            v.min = v.max = v.current;
            break;
    }
    v.currentIndex = indexOf(v.list, v.current);
    v.defaultIndex = indexOf(v.list, v.fallback);
    return v;
}

// A string capability lists what it offers (a Choice) or holds its one string.
void Capabilities::addTexts(const CapabilityRow& row, CapabilityValues& v) const {
    const std::string& current = texts_.at(row.id);
    const std::string fallback(textsOf(row.id).front());
    const std::vector<std::string> list =
        row.constraint == Constraint::Choice ? offeredTexts(row) : std::vector{current};
    for (const std::string& text : list) {
        v.rawItems.push_back(textItem(row.itemType, text));
    }
    v.rawCurrent = textItem(row.itemType, current);
    v.rawDefault = textItem(row.itemType, fallback);
    const auto at = [&list](const std::string& text) {
        const auto it = std::find(list.begin(), list.end(), text);
        return it == list.end() ? 0 : static_cast<TW_UINT32>(it - list.begin());
    };
    v.currentIndex = at(current);
    v.defaultIndex = at(fallback);
}

// ICAP_FRAMES: the one frame the device scans, in the current units.
void Capabilities::addFrames(CapabilityValues& v) const {
    const auto edges = [this](const ScanSettings& s) {
        const double frame[4] = {
            toUnits(Measure::Width, s.frameLeft), toUnits(Measure::Height, s.frameTop),
            toUnits(Measure::Width, s.frameRight), toUnits(Measure::Height, s.frameBottom)};
        return frameItem(frame);
    };
    v.rawCurrent = edges(settings_);
    v.rawDefault = edges(ScanSettings{});
    v.rawItems = {v.rawCurrent};
}

std::vector<double> Capabilities::deviceOffers(const CapabilityRow& row) const {
    if (row.id == ICAP_BITDEPTH) {
        const auto depths = bitDepthsFor(static_cast<TW_UINT16>(value(ICAP_PIXELTYPE)));
        return {depths.begin(), depths.end()};
    }
    return {row.values.begin(), row.values.end()};
}

std::vector<double> Capabilities::offered(const CapabilityRow& row) const {
    const auto restricted = restricted_.find(row.id);
    return restricted != restricted_.end() ? restricted->second : deviceOffers(row);
}

std::vector<std::string> Capabilities::offeredTexts(const CapabilityRow& row) const {
    const auto restricted = restrictedTexts_.find(row.id);
    if (restricted != restrictedTexts_.end()) {
        return restricted->second;
    }
    const auto texts = textsOf(row.id);
    return {texts.begin(), texts.end()};
}

double Capabilities::currentOf(const CapabilityRow& row) const {
    switch (row.constraint) {
        case Constraint::Command:
        case Constraint::List:
            return 0;
        default:
            return row.id == CAP_FEEDERLOADED ? (feeder_.loaded() ? 1 : 0) : value(row.id);
    }
}

double Capabilities::defaultOf(const CapabilityRow& row) const {
    if (row.id == ICAP_BITDEPTH) {
        return offered(row).front();
    }
    if (row.id == CAP_FEEDERLOADED) {
        return currentOf(row);
    }
    return row.initial;
}

double Capabilities::toUnits(Measure measure, double value) const {
    const auto units = static_cast<TW_UINT16>(this->value(ICAP_UNITS));
    const bool pixels = units == TWUN_PIXELS;
    switch (measure) {
        case Measure::Width:
            return value * (pixels ? settings_.xResolution : unitsPerInch(units));
        case Measure::Height:
            return value * (pixels ? settings_.yResolution : unitsPerInch(units));
        case Measure::XResolution:
        case Measure::YResolution:
            return pixels ? value : value / unitsPerInch(units);
        default:
            return value;
    }
}

double Capabilities::fromUnits(Measure measure, double value) const {
    const auto units = static_cast<TW_UINT16>(this->value(ICAP_UNITS));
    const bool pixels = units == TWUN_PIXELS;
    switch (measure) {
        case Measure::Width:
            return value / (pixels ? settings_.xResolution : unitsPerInch(units));
        case Measure::Height:
            return value / (pixels ? settings_.yResolution : unitsPerInch(units));
        case Measure::XResolution:
        case Measure::YResolution:
            return pixels ? value : value * unitsPerInch(units);
        default:
            return value;
    }
}

TW_UINT16 Capabilities::imageLayout(TW_UINT16 msg, TW_IMAGELAYOUT* layout) {
    if (layout == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    const ScanSettings defaults;
    switch (msg) {
        case MSG_GET:
        case MSG_GETCURRENT:
        case MSG_GETDEFAULT: {
            if (!core_.inStates(4, 6)) {
                return core_.fail(TWCC_SEQERROR);
            }
            const ScanSettings& frame = msg == MSG_GETDEFAULT ? defaults : settings_;
            describeFrame(frame, *layout);
            return TWRC_SUCCESS;
        }
        case MSG_SET:
            if (core_.state != kSourceOpen) {
                return core_.fail(TWCC_SEQERROR);
            }
            return setFrame(layout->Frame);
        case MSG_RESET:
            if (core_.state != kSourceOpen) {
                return core_.fail(TWCC_SEQERROR);
            }
            settings_.frameLeft = defaults.frameLeft;
            settings_.frameTop = defaults.frameTop;
            settings_.frameRight = defaults.frameRight;
            settings_.frameBottom = defaults.frameBottom;
            describeFrame(settings_, *layout);
            return TWRC_SUCCESS;
        default:
            return core_.fail(TWCC_BADPROTOCOL);
    }
}

void Capabilities::describeFrame(const ScanSettings& frame, TW_IMAGELAYOUT& layout) const {
    layout.Frame.Left = toFix32(toUnits(Measure::Width, frame.frameLeft));
    layout.Frame.Top = toFix32(toUnits(Measure::Height, frame.frameTop));
    layout.Frame.Right = toFix32(toUnits(Measure::Width, frame.frameRight));
    layout.Frame.Bottom = toFix32(toUnits(Measure::Height, frame.frameBottom));
    layout.DocumentNumber = 1;
    layout.PageNumber = 1;
    layout.FrameNumber = 1;
}

// A frame that reaches beyond the glass is cut to it (TWRC_CHECKSTATUS); one with no area, before
// or after the cut, is refused.
TW_UINT16 Capabilities::setFrame(const TW_FRAME& frame) {
    const double left = fromUnits(Measure::Width, fromFix32(frame.Left));
    const double top = fromUnits(Measure::Height, fromFix32(frame.Top));
    const double right = fromUnits(Measure::Width, fromFix32(frame.Right));
    const double bottom = fromUnits(Measure::Height, fromFix32(frame.Bottom));
    const double cutLeft = std::max(left, 0.0);
    const double cutTop = std::max(top, 0.0);
    const double cutRight = std::min(right, kGlassWidth);
    const double cutBottom = std::min(bottom, kGlassHeight);
    if (!(left < right && top < bottom && cutLeft < cutRight && cutTop < cutBottom)) {
        return core_.fail(TWCC_BADVALUE);
    }
    settings_.frameLeft = cutLeft;
    settings_.frameTop = cutTop;
    settings_.frameRight = cutRight;
    settings_.frameBottom = cutBottom;
    const bool cut = cutLeft != left || cutTop != top || cutRight != right || cutBottom != bottom;
    return cut ? TWRC_CHECKSTATUS : TWRC_SUCCESS;
}

std::optional<int64_t> Capabilities::knob(const CapabilityRow& row, std::string_view field) const {
    return core_.script.knob(std::string(row.name) + "." + std::string(field));
}

void Capabilities::syncSettings() {
    settings_.xResolution = value(ICAP_XRESOLUTION);
    settings_.yResolution = value(ICAP_YRESOLUTION);
    settings_.pixelType = static_cast<TW_UINT16>(value(ICAP_PIXELTYPE));
    settings_.bitDepth = static_cast<TW_UINT16>(value(ICAP_BITDEPTH));
    settings_.units = static_cast<TW_UINT16>(value(ICAP_UNITS));
    settings_.threshold = value(ICAP_THRESHOLD);
    settings_.transferCount = static_cast<TW_INT16>(value(CAP_XFERCOUNT));
    settings_.backSide = flag(CAP_FEEDERENABLED) && feeder_.backNext();
}

void Capabilities::reset(std::span<const CapabilityRow> table) {
    table_ = table;
    values_.clear();
    texts_.clear();
    restricted_.clear();
    restrictedTexts_.clear();
    for (const CapabilityRow& row : table_) {
        if (const auto texts = textsOf(row.id); !texts.empty()) {
            texts_[row.id] = std::string(texts.front());
        } else if (row.constraint != Constraint::Command && row.constraint != Constraint::List &&
                   row.constraint != Constraint::Frame) {
            values_[row.id] = row.initial;
        }
    }
    // The stack a test loads with the knob, else the one the environment names, else none.
    auto sheets = core_.script.knob("feeder.sheets");
    if (!sheets) {
        const char* environment = std::getenv("VIRTUAL_SCANNER_FEEDER_SHEETS");
        sheets = environment ? std::strtoll(environment, nullptr, 10) : 0;
    }
    feeder_.load(*sheets);
    pageOnGlass_ = false;
    settings_ = ScanSettings{};
    syncSettings();
}

void Capabilities::beginScan() { pageOnGlass_ = true; }

bool Capabilities::pageAvailable() const {
    return flag(CAP_FEEDERENABLED) ? feeder_.pageReady(flag(CAP_AUTOFEED)) : pageOnGlass_;
}

void Capabilities::takePage() {
    if (flag(CAP_FEEDERENABLED)) {
        feeder_.takePage(flag(CAP_AUTOFEED), flag(CAP_DUPLEXENABLED));
    } else {
        pageOnGlass_ = false;
    }
    syncSettings();
}

}  // namespace vscan
