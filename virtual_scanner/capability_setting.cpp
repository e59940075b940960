// MSG_SET of the source's capabilities: how each kind of capability judges what it is given.
#include <algorithm>
#include <cmath>

#include "source_capabilities.h"

namespace vscan {

TW_UINT16 Capabilities::set(const CapabilityRow& row, const TW_CAPABILITY& request) {
    if (row.constraint == Constraint::ReadOnly || row.constraint == Constraint::List) {
        return core_.fail(TWCC_CAPBADOPERATION);
    }
    const auto given = readContainer(request.ConType, request.hContainer);
    if (!given) {
        return core_.fail(TWCC_BADVALUE);
    }
    if (request.ConType != TWON_ONEVALUE) {
        return restrict(row, *given);
    }
    const std::vector<std::uint8_t>& item = given->items.front();
    if (row.constraint == Constraint::Frame) {
        return setFrameItem(given->itemType, item);
    }
    if (isText(row.itemType)) {
        return isText(given->itemType) ? setText(row, item) : core_.fail(TWCC_BADVALUE);
    }
    const auto requested = requestedValue(given->itemType, itemBits(item), row.itemType);
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

// A string must end inside its field, and fit the capability's own field with its terminator.
TW_UINT16 Capabilities::setText(const CapabilityRow& row, const std::vector<std::uint8_t>& item) {
    const auto text = itemText(item);
    if (!text || text->size() >= itemBytes(row.itemType)) {
        return core_.fail(TWCC_BADVALUE);
    }
    if (row.constraint == Constraint::Choice) {
        const auto offers = offeredTexts(row);
        if (std::find(offers.begin(), offers.end(), *text) == offers.end()) {
            return core_.fail(TWCC_BADVALUE);
        }
    }
    texts_[row.id] = *text;
    return TWRC_SUCCESS;
}

// ICAP_FRAMES sets the image layout's frame, as DAT_IMAGELAYOUT does.
TW_UINT16 Capabilities::setFrameItem(TW_UINT16 itemType, const std::vector<std::uint8_t>& item) {
    if (itemType != TWTY_FRAME) {
        return core_.fail(TWCC_BADVALUE);
    }
    TW_FIX32 edges[4] = {};
    for (std::size_t i = 0; i < 4; ++i) {
        edges[i].Whole = static_cast<TW_INT16>(item[4 * i] | item[4 * i + 1] << 8);
        edges[i].Frac = static_cast<TW_UINT16>(item[4 * i + 2] | item[4 * i + 3] << 8);
    }
    return setFrame(TW_FRAME{edges[0], edges[1], edges[2], edges[3]});
}

TW_UINT16 Capabilities::restrict(const CapabilityRow& row, const GivenContainer& given) {
    const bool listed = row.constraint == Constraint::Choice || row.constraint == Constraint::Steps;
    if (!listed) {
        return core_.fail(TWCC_BADVALUE);
    }
    if (isText(row.itemType)) {
        std::vector<std::string> texts;
        const auto offers = textsOf(row.id);
        for (const auto& item : given.items) {
            const auto text = isText(given.itemType) ? itemText(item) : std::nullopt;
            if (!text || std::find(offers.begin(), offers.end(), *text) == offers.end()) {
                return core_.fail(TWCC_BADVALUE);
            }
            texts.push_back(*text);
        }
        texts_[row.id] = texts[given.currentIndex];
        restrictedTexts_[row.id] = std::move(texts);
        return TWRC_SUCCESS;
    }
    std::vector<double> values;
    for (const auto& item : given.items) {
        const auto value = offeredValue(row, given.itemType, item);
        if (!value) {
            return core_.fail(TWCC_BADVALUE);
        }
        values.push_back(*value);
    }
    const double current = values[given.currentIndex];
    restricted_[row.id] = std::move(values);
    store(row, current);
    return TWRC_SUCCESS;
}

std::optional<double> Capabilities::offeredValue(const CapabilityRow& row, TW_UINT16 itemType,
                                                 const std::vector<std::uint8_t>& item) const {
    const auto requested = requestedValue(itemType, itemBits(item), row.itemType);
    if (!requested) {
        return std::nullopt;
    }
    // Equal as the device reports them: a TW_FIX32 in centimetres is not exact.
    const TW_UINT32 wanted = encodeItem(row.itemType, *requested);
    for (double offer : deviceOffers(row)) {
        if (encodeItem(row.itemType, toUnits(row.measure, offer)) == wanted) {
            return offer;
        }
    }
    return std::nullopt;
}

// The feeder commands act only on an enabled feeder.
TW_UINT16 Capabilities::command(const CapabilityRow& row) {
    if (!flag(CAP_FEEDERENABLED)) {
        return core_.fail(TWCC_CAPSEQERROR);
    }
    TW_UINT16 result = TWRC_SUCCESS;
    switch (row.id) {
        case CAP_FEEDPAGE:
            result = feeder_.feed() ? TWRC_SUCCESS : core_.fail(TWCC_NOMEDIA);
            break;
        case CAP_CLEARPAGE:
            feeder_.clear();
            break;
        case CAP_REWINDPAGE:
            result = feeder_.rewind() ? TWRC_SUCCESS : core_.fail(TWCC_NOMEDIA);
            break;
        default:
            return core_.fail(TWCC_CAPBADOPERATION);
    }
    syncSettings();
    return result;
}

// A new pixel type brings its own bit depth, as the device cannot keep the old one.
void Capabilities::store(const CapabilityRow& row, double value) {
    values_[row.id] = value;
    if (row.id == ICAP_PIXELTYPE) {
        restricted_.erase(ICAP_BITDEPTH);
        values_[ICAP_BITDEPTH] = bitDepthsFor(static_cast<TW_UINT16>(value)).front();
    }
    syncSettings();
}

}  // namespace vscan
