// A scanned page as a packed DIB: what the source hands over by native transfer.
#ifndef VIRTUAL_SCANNER_PAGE_RENDER_H
#define VIRTUAL_SCANNER_PAGE_RENDER_H

#include <cstdint>
#include <vector>

#include "scan_settings.h"
#include "test_chart.h"

namespace vscan {

struct PageSize {
    int32_t width;
    int32_t height;
};

// Pixels across and down for the frame at the resolution; at least one each way.
PageSize pageSize(const ScanSettings& settings);
// The color of pixel (column, row), row 0 at the top, after the pixel type has had its way (gray,
// or black and white at the threshold).
Rgb pagePixel(const ScanSettings& settings, int32_t column, int32_t row);
// BITMAPINFOHEADER, color table and bottom-up rows: 1-bit black and white, 8-bit gray, 24-bit RGB.
std::vector<uint8_t> renderPage(const ScanSettings& settings);

}  // namespace vscan

#endif
