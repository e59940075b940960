#include "wine_manager_support.h"

#include <cstdint>
#include <vector>

#include "image/dib_layout.h"
#include "image/dib_rows.h"
#include "image/messages.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

namespace {

// 0xRRGGBB of each pixel of one decoded row, as the consumer would see it.
std::vector<std::uint32_t> decodedRow(const DibLayout& layout, std::uint32_t y) {
    const std::uint8_t* row = dibRowStart(layout, y);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(layout.width));
    if (layout.bitCount > 8) {
        std::vector<jint> values(pixels.size());
        unpackDirectRow(layout, row, values.data());
        for (std::size_t x = 0; x < pixels.size(); ++x) {
            pixels[x] = static_cast<std::uint32_t>(values[x]) & 0xFFFFFF;
        }
        return pixels;
    }
    std::vector<jbyte> red(layout.colorCount), green(layout.colorCount), blue(layout.colorCount);
    splitColorTable(layout, red.data(), green.data(), blue.data());
    std::vector<jbyte> indices(pixels.size());
    unpackIndexRow(layout, row, indices.data());
    for (std::size_t x = 0; x < pixels.size(); ++x) {
        const auto index = static_cast<std::uint8_t>(indices[x]);
        pixels[x] = static_cast<std::uint32_t>(static_cast<std::uint8_t>(red[index])) << 16 |
                    static_cast<std::uint32_t>(static_cast<std::uint8_t>(green[index])) << 8 |
                    static_cast<std::uint8_t>(blue[index]);
    }
    return pixels;
}

// What differs between the DIB and the chart, or nothing.
std::string differenceFromChart(const void* dib, std::size_t size,
                                const std::vector<std::uint32_t>& chart, int32_t width,
                                int32_t height) {
    try {
        const DibLayout layout = decodeDibLayout(dib, size);
        if (layout.width != width || layout.rowCount != static_cast<std::uint32_t>(height)) {
            return "a page of " + std::to_string(layout.width) + " x " +
                   std::to_string(layout.rowCount) + " pixels, the chart has " +
                   std::to_string(width) + " x " + std::to_string(height);
        }
        std::size_t wrong = 0;
        std::string first;
        for (std::uint32_t y = 0; y < layout.rowCount; ++y) {
            const std::vector<std::uint32_t> row = decodedRow(layout, y);
            for (std::size_t x = 0; x < row.size(); ++x) {
                const std::uint32_t expected = chart[y * static_cast<std::size_t>(width) + x];
                if (row[x] != expected && wrong++ == 0) {
                    first = "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                            std::to_string(row[x]) + ", the chart's " + std::to_string(expected);
                }
            }
        }
        return wrong == 0 ? "" : std::to_string(wrong) + " pixels unlike the chart, first " + first;
    } catch (const MessageFailure& failure) {
        return std::string("the decoder refused the page: ") + failure.text;
    }
}

}  // namespace

std::string moduleFile(HMODULE module) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    return std::string(path, length);
}

bool sameFile(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

void openThroughWine() {
    ASSERT_TRUE(registerDemo());
    ASSERT_TRUE(openSource());
    ASSERT_EQ(twainSession.state, kStateSourceOpen);
}

TW_HANDLE waitForPage() { return acquireNextImage(); }

void expectNextPageMatchesTheChart() {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<std::uint32_t> chart(vscan_expectedPage(nullptr, 0, &width, &height));
    vscan_expectedPage(chart.data(), chart.size(), &width, &height);

    const TW_HANDLE image = waitForPage();
    ASSERT_TRUE(image) << "no page came; state " << twainSession.state;
    const void* dib = GlobalLock(image);
    const std::string difference =
        differenceFromChart(dib, GlobalSize(image), chart, width, height);
    GlobalUnlock(image);
    GlobalFree(image);
    EXPECT_EQ(difference, "");
}
