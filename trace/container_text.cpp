#include "trace/container_text.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "settings/capability_access.h"
#include "trace/joined.h"
#include "trace/twain_names.h"

namespace {

// Items shown of a long list.
constexpr std::uint32_t kShownItems = 16;

// The block, locked while the description is made.
class Block {
  public:
    explicit Block(TW_HANDLE handle)
        : handle_(handle),
          bytes_(static_cast<const std::uint8_t*>(GlobalLock(handle))),
          size_(bytes_ != nullptr ? GlobalSize(handle) : 0) {}
    ~Block() {
        if (bytes_ != nullptr) {
            GlobalUnlock(handle_);
        }
    }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    bool holds(std::uint64_t offset, std::uint64_t length) const {
        return bytes_ != nullptr && offset <= size_ && length <= size_ - offset;
    }
    const std::uint8_t* at(std::uint64_t offset) const { return bytes_ + offset; }
    std::uint32_t u32(std::uint64_t offset) const {
        std::uint32_t value;
        std::memcpy(&value, at(offset), sizeof(value));
        return value;
    }
    std::uint16_t u16(std::uint64_t offset) const {
        std::uint16_t value;
        std::memcpy(&value, at(offset), sizeof(value));
        return value;
    }

  private:
    TW_HANDLE handle_;
    const std::uint8_t* bytes_;
    std::uint64_t size_;
};

std::string fix32Text(const std::uint8_t* bytes) {
    TW_FIX32 value;
    std::memcpy(&value, bytes, sizeof(value));
    char text[32];
    std::snprintf(text, sizeof(text), "%g", fromFix32(value));
    return text;
}

// One item of `type` at `bytes`, which hold at least the item's size.
std::string itemText(TW_UINT16 type, const std::uint8_t* bytes) {
    std::int32_t signedValue = 0;
    std::uint32_t unsignedValue = 0;
    switch (type) {
        case TWTY_INT8:
            return std::to_string(static_cast<std::int8_t>(bytes[0]));
        case TWTY_INT16:
            std::memcpy(&unsignedValue, bytes, 2);
            return std::to_string(static_cast<std::int16_t>(unsignedValue));
        case TWTY_INT32:
            std::memcpy(&signedValue, bytes, 4);
            return std::to_string(signedValue);
        case TWTY_UINT8:
            return std::to_string(bytes[0]);
        case TWTY_UINT16:
            std::memcpy(&unsignedValue, bytes, 2);
            return std::to_string(unsignedValue);
        case TWTY_UINT32:
            std::memcpy(&unsignedValue, bytes, 4);
            return std::to_string(unsignedValue);
        case TWTY_BOOL:
            return bytes[0] != 0 || bytes[1] != 0 ? "TRUE" : "FALSE";
        case TWTY_FIX32:
            return fix32Text(bytes);
        case TWTY_FRAME:
            return joined("(", fix32Text(bytes), ", ", fix32Text(bytes + 4), ", ",
                          fix32Text(bytes + 8), ", ", fix32Text(bytes + 12), ")");
        default: {
            // A string ends at its terminator or at the end of its field.
            const std::size_t size = itemTypeSize[type];
            const void* end = std::memchr(bytes, 0, size);
            const std::size_t length =
                end ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - bytes)
                    : size;
            return joined("\"", std::string(reinterpret_cast<const char*>(bytes), length), "\"");
        }
    }
}

bool knownType(TW_UINT16 type) { return type < itemTypeSize.size(); }

// A list of `count` items from `offset`, each of the type's size, as far as the block holds.
std::string listText(const Block& block, TW_UINT16 type, std::uint64_t offset,
                     std::uint32_t count) {
    const std::uint64_t size = itemTypeSize[type];
    std::string text = "(";
    for (std::uint32_t i = 0; i < count && i < kShownItems; ++i) {
        if (!block.holds(offset + i * size, size)) {
            return joined(text, "...) past the end of its block");
        }
        text.append(i ? ", " : "").append(itemText(type, block.at(offset + i * size)));
    }
    return text.append(count > kShownItems ? ", ...)" : ")");
}

std::string contentText(TW_UINT16 conType, const Block& block) {
    if (!block.holds(0, 2)) {
        return "a block too small for its container";
    }
    const TW_UINT16 type = block.u16(0);
    if (!knownType(type)) {
        return joined(itemTypeName(type), ", an item type the standard does not have");
    }
    const std::string typeName = joined(itemTypeName(type), " ");
    const std::uint64_t size = itemTypeSize[type];
    switch (conType) {
        case TWON_ONEVALUE:
            return block.holds(2, size) ? joined(typeName, itemText(type, block.at(2)))
                                        : joined(typeName, "past the end of its block");
        case TWON_ARRAY:
            if (!block.holds(2, 4)) {
                return joined(typeName, "past the end of its block");
            }
            return joined(typeName, listText(block, type, 6, block.u32(2)));
        case TWON_ENUMERATION: {
            if (!block.holds(2, 12)) {
                return joined(typeName, "past the end of its block");
            }
            const std::uint32_t count = block.u32(2);
            const std::uint32_t current = block.u32(6);
            const std::string currentText =
                current < count && block.holds(14 + current * size, size)
                    ? itemText(type, block.at(14 + current * size))
                    : joined("index ", std::to_string(current), " (none)");
            return joined(typeName, "current ", currentText, " of ",
                          listText(block, type, 14, count));
        }
        case TWON_RANGE: {
            // Every value of a range sits in a 32-bit slot, whatever its type.
            if (size > 4) {
                return joined(typeName, "in a range, which holds 32-bit values only");
            }
            if (!block.holds(2, 20)) {
                return joined(typeName, "past the end of its block");
            }
            return joined(typeName, itemText(type, block.at(2)), "..", itemText(type, block.at(6)),
                          " step ", itemText(type, block.at(10)), " current ",
                          itemText(type, block.at(18)));
        }
        default:
            return "an unknown container";
    }
}

}  // namespace

std::string describeContainer(TW_UINT16 conType, TW_HANDLE container) {
    if (!container) {
        return joined(containerName(conType), " without a container");
    }
    const Block block(container);
    return joined(containerName(conType), " ", contentText(conType, block));
}
