// What DAT_IMAGEINFO tells of a page before and after its transfer: the chart as the settings
// render it, or a page file as its DIB header describes it.
#ifndef VIRTUAL_SCANNER_IMAGE_INFO_H
#define VIRTUAL_SCANNER_IMAGE_INFO_H

#include <cstdint>
#include <optional>
#include <vector>

#include "scan_settings.h"

namespace vscan {

TW_IMAGEINFO chartImageInfo(const ScanSettings& settings);
// None for bytes too short to hold a BITMAPINFOHEADER.
std::optional<TW_IMAGEINFO> dibImageInfo(const std::vector<uint8_t>& dib);

}  // namespace vscan

#endif
