#include "jni/container_record.h"

namespace {

// The fewest bytes an item takes in a record: a text's count, or a number.
constexpr std::size_t kSmallestItem = 4;

}  // namespace

void writeContainer(RecordWriter& record, const CapabilityContainer& container) {
    record.u16(container.conType);
    record.u16(container.itemType);
    record.u32(static_cast<std::uint32_t>(container.size()));
    record.u32(container.currentIndex);
    record.u32(container.defaultIndex);
    if (isTextItem(container.itemType)) {
        for (const std::string& text : container.texts) {
            record.text(text);
        }
    } else if (container.itemType == TWTY_FRAME) {
        for (const CapabilityFrame& frame : container.frames) {
            for (const std::int32_t side : frame) {
                record.i64(side);
            }
        }
    } else {
        for (const std::int64_t number : container.numbers) {
            record.i64(number);
        }
    }
}

namespace {

// One item of the container's type, appended to its list; false when the record ends first.
bool readItem(RecordReader& record, CapabilityContainer& container) {
    if (isTextItem(container.itemType)) {
        return record.text(container.texts.emplace_back());
    }
    if (container.itemType == TWTY_FRAME) {
        CapabilityFrame& frame = container.frames.emplace_back();
        for (std::int32_t& side : frame) {
            std::int64_t value = 0;
            if (!record.i64(value)) {
                return false;
            }
            side = static_cast<std::int32_t>(value);
        }
        return true;
    }
    return record.i64(container.numbers.emplace_back());
}

}  // namespace

std::optional<CapabilityContainer> readContainerRecord(RecordReader& record) {
    CapabilityContainer container;
    std::uint32_t conType = 0;
    std::uint32_t itemType = 0;
    std::uint32_t count = 0;
    if (!record.u16(conType) || !record.u16(itemType) || !record.u32(count) ||
        !record.u32(container.currentIndex) || !record.u32(container.defaultIndex) ||
        itemSizeOf(static_cast<TW_UINT16>(itemType)) == 0 ||
        record.left() / kSmallestItem < count) {
        return std::nullopt;
    }
    container.conType = static_cast<TW_UINT16>(conType);
    container.itemType = static_cast<TW_UINT16>(itemType);
    // Room for the items at once, now that the record is known to be able to hold them.
    if (isTextItem(container.itemType)) {
        container.texts.reserve(count);
    } else if (container.itemType == TWTY_FRAME) {
        container.frames.reserve(count);
    } else {
        container.numbers.reserve(count);
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!readItem(record, container)) {
            return std::nullopt;
        }
    }
    if (!record.atEnd()) {
        return std::nullopt;
    }
    return container;
}
