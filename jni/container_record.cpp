#include "jni/container_record.h"

namespace {

// The fewest bytes an item takes in a record: a text's count, or a number.
constexpr std::size_t kSmallestItem = 4;

}  // namespace

void writeContainer(RecordWriter& record, const CapabilityContainer& container) {
    record.u16(container.conType);
    record.u16(container.itemType);
    record.u32(static_cast<std::uint32_t>(container.items.size()));
    record.u32(container.currentIndex);
    record.u32(container.defaultIndex);
    for (const CapabilityItem& item : container.items) {
        if (isTextItem(container.itemType)) {
            record.text(item.text);
        } else if (container.itemType == TWTY_FRAME) {
            for (const std::int32_t side : item.frame) {
                record.i64(side);
            }
        } else {
            record.i64(item.number);
        }
    }
}

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
    container.items.resize(count);
    for (CapabilityItem& item : container.items) {
        bool read = true;
        if (isTextItem(container.itemType)) {
            read = record.text(item.text);
        } else if (container.itemType == TWTY_FRAME) {
            for (std::int32_t& side : item.frame) {
                std::int64_t value = 0;
                read = read && record.i64(value);
                side = static_cast<std::int32_t>(value);
            }
        } else {
            read = record.i64(item.number);
        }
        if (!read) {
            return std::nullopt;
        }
    }
    if (!record.atEnd()) {
        return std::nullopt;
    }
    return container;
}
