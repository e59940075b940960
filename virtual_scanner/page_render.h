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

// Bits per pixel: 1 black and white, 8 gray, 24 RGB.
uint16_t pixelBits(const ScanSettings& settings);
// Bytes of a row of `columns` pixels, packed without padding.
size_t packedRowBytes(const ScanSettings& settings, int32_t columns);
// Row `row` (0 at the top) as a memory or file transfer carries it: packed pixels, the leftmost in
// the highest bits, red before green before blue; a black and white pixel is 1 where it is white.
// `out` holds packedRowBytes(settings, width) bytes.
void renderMemoryRow(const ScanSettings& settings, int32_t row, uint8_t* out);

}  // namespace vscan

#endif
