#include "expected_page.h"

#include "page_render.h"

namespace vscan {

size_t expectedPage(const ScanSettings& settings, uint32_t* rgb, size_t count, int32_t* width,
                    int32_t* height) {
    const PageSize size = pageSize(settings);
    *width = size.width;
    *height = size.height;
    const size_t total = static_cast<size_t>(size.width) * static_cast<size_t>(size.height);
    if (rgb != nullptr && count >= total) {
        for (int32_t row = 0; row < size.height; ++row) {
            for (int32_t column = 0; column < size.width; ++column) {
                const Rgb c = pagePixel(settings, column, row);
                *rgb++ = static_cast<uint32_t>(c.red) << 16 | c.green << 8 | c.blue;
            }
        }
    }
    return total;
}

}  // namespace vscan
