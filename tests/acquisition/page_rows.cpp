#include "page_rows.h"

#include <virtual_scanner_control.h>

#include <string>

bool PageRows::begin(const DibLayout& given, std::uint32_t hint) {
    layout = given;
    if (given.indexed) {
        colorTable.assign(given.colorTable, given.colorTable + 4 * given.colorCount);
    }
    heightHint = hint;
    return true;
}

bool PageRows::rows(std::uint32_t y, std::uint32_t count, const std::uint8_t* first,
                    std::ptrdiff_t stride) {
    if (beforeRows && !beforeRows(batches_++)) {
        return false;
    }
    const std::size_t bytes = (static_cast<std::size_t>(layout.width) * layout.bitCount + 7) / 8;
    stored.resize(y);
    for (std::uint32_t r = 0; r < count; ++r) {
        const std::uint8_t* row = first + static_cast<std::ptrdiff_t>(r) * stride;
        stored.emplace_back(row, row + bytes);
    }
    return true;
}

bool PageRows::end(std::uint32_t rows) {
    height = rows;
    ended = true;
    return true;
}

bool PageRows::encoded(EncodedPage page) {
    encodedPages.push_back(std::move(page));
    return true;
}

std::uint32_t PageRows::rgb(std::int32_t x, std::int32_t y) const {
    const std::uint8_t* row = stored[static_cast<std::size_t>(y)].data();
    if (!layout.indexed) {
        const std::uint8_t* p = row + 3 * x;
        return static_cast<std::uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
    }
    const unsigned bits = layout.bitCount;
    const unsigned bit = static_cast<unsigned>(x) * bits;
    const unsigned index = row[bit / 8] >> (8 - bits - bit % 8) & ((1u << bits) - 1);
    const std::uint8_t* entry = colorTable.data() + 4 * index;
    return static_cast<std::uint32_t>(entry[2]) << 16 | entry[1] << 8 | entry[0];
}

std::string PageRows::differenceFromExpectedPage() const {
    std::int32_t width = 0;
    std::int32_t expectedHeight = 0;
    const std::size_t count = vscan_expectedPage(nullptr, 0, &width, &expectedHeight);
    std::vector<std::uint32_t> expected(count);
    vscan_expectedPage(expected.data(), expected.size(), &width, &expectedHeight);
    if (width != layout.width || static_cast<std::uint32_t>(expectedHeight) != stored.size()) {
        return "the page is " + std::to_string(layout.width) + " x " +
               std::to_string(stored.size()) + ", the chart " + std::to_string(width) + " x " +
               std::to_string(expectedHeight);
    }
    for (std::int32_t y = 0; y < expectedHeight; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t want = expected[static_cast<std::size_t>(y) * width + x];
            if (rgb(x, y) != want) {
                return "pixel " + std::to_string(x) + ", " + std::to_string(y) + " is " +
                       std::to_string(rgb(x, y)) + ", not " + std::to_string(want);
            }
        }
    }
    return "";
}
