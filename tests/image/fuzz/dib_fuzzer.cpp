// libFuzzer target: any bytes, taken as a locked DIB block of exactly that size. The decoder must
// refuse them with a message, or give a layout whose color table and every row the unpackers read
// without leaving the block. The block is an exact-size heap copy so that AddressSanitizer marks
// its end.
#include <jni.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "image/dib_layout.h"
#include "image/dib_rows.h"
#include "image/messages.h"

namespace {

// Bytes a row's pixels occupy, as opposed to its padded stride.
std::uint64_t rowBytes(const DibLayout& layout) {
    const std::uint64_t width = layout.width > 0 ? static_cast<std::uint64_t>(layout.width) : 0;
    return (width * layout.bitCount + 7) / 8;
}

void requireInside(const std::uint8_t* start, std::uint64_t length, const std::uint8_t* block,
                   std::size_t size) {
    if (start < block || static_cast<std::uint64_t>(start - block) > size ||
        size - static_cast<std::size_t>(start - block) < length) {
        std::abort();
    }
}

void decodeRow(const DibLayout& layout, std::uint32_t y, const std::uint8_t* block,
               std::size_t size) {
    const std::uint8_t* row = dibRowStart(layout, y);
    requireInside(row, rowBytes(layout), block, size);
    const std::size_t width = layout.width > 0 ? static_cast<std::size_t>(layout.width) : 0;
    if (layout.bitCount > 8) {
        std::vector<jint> out(width);
        unpackDirectRow(layout, row, out.data());
    } else {
        std::vector<jbyte> out(width);
        unpackIndexRow(layout, row, out.data());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[size]);
    if (size != 0) {
        std::memcpy(block.get(), data, size);
    }
    DibLayout layout;
    try {
        layout = decodeDibLayout(block.get(), size);
    } catch (const MessageFailure&) {
        return 0;
    }
    if (layout.indexed) {
        requireInside(layout.colorTable, std::uint64_t{layout.colorCount} * 4, block.get(), size);
        std::vector<jbyte> red(layout.colorCount), green(layout.colorCount),
            blue(layout.colorCount);
        splitColorTable(layout, red.data(), green.data(), blue.data());
    }
    if (layout.stride != 0) {
        // The block bounds rowCount times stride, so this loop is as long as the input.
        for (std::uint32_t y = 0; y < layout.rowCount; ++y) {
            decodeRow(layout, y, block.get(), size);
        }
    } else if (layout.rowCount != 0) {
        // Rows without pixels all start at the same place; millions of them would add nothing.
        decodeRow(layout, 0, block.get(), size);
        decodeRow(layout, layout.rowCount - 1, block.get(), size);
    }
    return 0;
}
