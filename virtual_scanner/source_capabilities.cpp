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
constexpr TW_INT16 kMaxTransferCount = 32767;

// What the block of the application's TW_ONEVALUE holds, read within its size; none when the
// block is not there or too small for the item it names.
struct RequestedItem {
    TW_UINT16 itemType;
    TW_UINT32 item;
};

std::optional<RequestedItem> readOneValue(TW_HANDLE container) {
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(container));
    if (bytes == nullptr) {
        return std::nullopt;
    }
    const std::size_t size = GlobalSize(container);
    std::optional<RequestedItem> result;
    if (size >= 2) {
        const auto itemType = static_cast<TW_UINT16>(bytes[0] | bytes[1] << 8);
        const std::size_t needed = std::min<std::size_t>(itemBytes(itemType), 4);
        if (size - 2 >= needed) {
            TW_UINT32 item = 0;
            for (std::size_t i = 0; i < needed; ++i) {
                item |= static_cast<TW_UINT32>(bytes[2 + i]) << (8 * i);
            }
            result = RequestedItem{itemType, item};
        }
    }
    GlobalUnlock(container);
    return result;
}

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

// The container a full read (MSG_GET) answers with: every allowed value, or the range.
TW_UINT16 fullContainer(const CapabilityRow& row) {
    switch (row.constraint) {
        case Constraint::Range:
            return TWON_RANGE;
        case Constraint::List:
            return TWON_ARRAY;
        case Constraint::Count:
        case Constraint::ReadOnly:
            return TWON_ONEVALUE;
        default:
            return TWON_ENUMERATION;
    }
}

TW_UINT32 indexOf(const std::vector<double>& list, double value) {
    const auto it = std::find(list.begin(), list.end(), value);
    return it == list.end() ? 0 : static_cast<TW_UINT32>(it - list.begin());
}

}  // namespace

TW_UINT16 Capabilities::capability(TW_UINT16 msg, TW_CAPABILITY* request) {
    if (request == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    const bool read = msg == MSG_GET || msg == MSG_GETCURRENT || msg == MSG_GETDEFAULT;
    if (!read && msg != MSG_SET && msg != MSG_RESET) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    const CapabilityRow* row = findCapability(request->Cap);
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
    // MSG_RESET: back to the device's default, answered as MSG_GETCURRENT would be. What the device
    // only reports, and the commands, have nothing to reset.
    if (values_.count(row->id) != 0 && row->constraint != Constraint::ReadOnly) {
        store(*row, defaultOf(*row));
    }
    return answer(*row, MSG_GETCURRENT, *request);
}

TW_UINT16 Capabilities::answer(const CapabilityRow& row, TW_UINT16 msg, TW_CAPABILITY& request) {
    CapabilityValues values = valuesOf(row);
    TW_UINT16 conType = row.currentContainer;
    if (msg == MSG_GET) {
        conType = fullContainer(row);
    } else if (msg == MSG_GETDEFAULT) {
        conType = row.constraint == Constraint::List ? TWON_ARRAY : TWON_ONEVALUE;
        values.current = values.fallback;
        values.currentIndex = values.defaultIndex;
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

TW_UINT16 Capabilities::set(const CapabilityRow& row, const TW_CAPABILITY& request) {
    if (row.constraint == Constraint::ReadOnly || row.constraint == Constraint::List) {
        return core_.fail(TWCC_CAPBADOPERATION);
    }
    if (request.ConType != TWON_ONEVALUE || !request.hContainer) {
        return core_.fail(TWCC_BADVALUE);
    }
    const auto given = readOneValue(request.hContainer);
    const auto requested =
        given ? requestedValue(given->itemType, given->item, row.itemType) : std::nullopt;
    if (!requested) {
        return core_.fail(TWCC_BADVALUE);
    }
    if (row.constraint == Constraint::Command) {
        return *requested != 0 ? command(row) : TWRC_SUCCESS;
    }
    return judge(row, *requested);
}

// MSG_SET of a value in the current units: taken as it is, taken as the nearest the device has
// (TWRC_CHECKSTATUS), or refused.
TW_UINT16 Capabilities::judge(const CapabilityRow& row, double requested) {
    switch (row.constraint) {
        case Constraint::Flag:
            store(row, requested != 0 ? 1 : 0);
            return TWRC_SUCCESS;
        case Constraint::Count:
            if (requested != -1 && !(requested >= 1 && requested <= kMaxTransferCount &&
                                     requested == std::floor(requested))) {
                return core_.fail(TWCC_BADVALUE);
            }
            store(row, requested);
            return TWRC_SUCCESS;
        case Constraint::Choice:
            for (double offer : offered(row)) {
                if (toUnits(row.measure, offer) == requested) {
                    store(row, offer);
                    return TWRC_SUCCESS;
                }
            }
            return core_.fail(TWCC_BADVALUE);
        case Constraint::Steps: {
            const auto offers = offered(row);
            const auto distance = [&](double offer) {
                return std::fabs(toUnits(row.measure, offer) - requested);
            };
            const double nearest =
                *std::min_element(offers.begin(), offers.end(),
                                  [&](double a, double b) { return distance(a) < distance(b); });
            store(row, nearest);
            // Exact when the application sent what the device reports for that value.
            return encodeItem(row.itemType, toUnits(row.measure, nearest)) ==
                           encodeItem(row.itemType, requested)
                       ? TWRC_SUCCESS
                       : TWRC_CHECKSTATUS;
        }
        case Constraint::Range: {
            if (!(requested >= row.min && requested <= row.max)) {
                return core_.fail(TWCC_BADVALUE);
            }
            double snapped = row.min + std::round((requested - row.min) / row.step) * row.step;
            if (snapped > row.max) {
                snapped -= row.step;
            }
            store(row, snapped);
            return snapped == requested ? TWRC_SUCCESS : TWRC_CHECKSTATUS;
        }
        default:
            return core_.fail(TWCC_CAPBADOPERATION);
    }
}

// The feeder commands act only on an enabled feeder.
TW_UINT16 Capabilities::command(const CapabilityRow& row) {
    if (!flag(CAP_FEEDERENABLED)) {
        return core_.fail(TWCC_CAPSEQERROR);
    }
    switch (row.id) {
        case CAP_FEEDPAGE:
            return feeder_.feed() ? TWRC_SUCCESS : core_.fail(TWCC_NOMEDIA);
        case CAP_CLEARPAGE:
            feeder_.clear();
            return TWRC_SUCCESS;
        case CAP_REWINDPAGE:
            return feeder_.rewind() ? TWRC_SUCCESS : core_.fail(TWCC_NOMEDIA);
        default:
            return core_.fail(TWCC_CAPBADOPERATION);
    }
}

// A new pixel type brings its own bit depth, as the device cannot keep the old one.
void Capabilities::store(const CapabilityRow& row, double value) {
    values_[row.id] = value;
    if (row.id == ICAP_PIXELTYPE) {
        values_[ICAP_BITDEPTH] = bitDepthsFor(static_cast<TW_UINT16>(value)).front();
    }
    syncSettings();
}

CapabilityValues Capabilities::valuesOf(const CapabilityRow& row) const {
    CapabilityValues v;
    v.itemType = row.itemType;
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
        case Constraint::ReadOnly:
            v.list = {v.current};
            v.min = v.max = v.current;
            break;
        case Constraint::List:
            for (const CapabilityRow& other : capabilityTable()) {
                v.list.push_back(other.id);
            }
            v.min = *std::min_element(v.list.begin(), v.list.end());
            v.max = *std::max_element(v.list.begin(), v.list.end());
            break;
    }
    v.currentIndex = indexOf(v.list, v.current);
    v.defaultIndex = indexOf(v.list, v.fallback);
    return v;
}

std::span<const double> Capabilities::offered(const CapabilityRow& row) const {
    if (row.id == ICAP_BITDEPTH) {
        return bitDepthsFor(static_cast<TW_UINT16>(value(ICAP_PIXELTYPE)));
    }
    return row.values;
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
}

void Capabilities::reset() {
    values_.clear();
    for (const CapabilityRow& row : capabilityTable()) {
        if (row.constraint != Constraint::Command && row.constraint != Constraint::List) {
            values_[row.id] = row.initial;
        }
    }
    settings_ = ScanSettings{};
    syncSettings();
    // The stack a test loads with the knob, else the one the environment names, else none.
    auto sheets = core_.script.knob("feeder.sheets");
    if (!sheets) {
        const char* environment = std::getenv("VIRTUAL_SCANNER_FEEDER_SHEETS");
        sheets = environment ? std::strtoll(environment, nullptr, 10) : 0;
    }
    feeder_.load(*sheets);
    pageOnGlass_ = false;
}

void Capabilities::beginScan() { pageOnGlass_ = true; }

bool Capabilities::pageAvailable() const {
    return flag(CAP_FEEDERENABLED) ? feeder_.pageReady(flag(CAP_AUTOFEED)) : pageOnGlass_;
}

void Capabilities::takePage() {
    if (flag(CAP_FEEDERENABLED)) {
        feeder_.takePage(flag(CAP_AUTOFEED));
    } else {
        pageOnGlass_ = false;
    }
}

}  // namespace vscan
