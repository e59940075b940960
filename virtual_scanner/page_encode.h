// The page encoded as a scanner that compresses hands it over: a JFIF stream for gray and colour,
// CCITT Group 4 data for black and white, and the files of a file transfer. The host's stand-in
// encodes with Debian's libjpeg and libtiff (page_encode_host.cpp); the Windows build of the
// source encodes nothing (page_encode_windows.cpp) and offers neither compression.
#ifndef VIRTUAL_SCANNER_PAGE_ENCODE_H
#define VIRTUAL_SCANNER_PAGE_ENCODE_H

#include <cstdint>
#include <optional>
#include <vector>

#include "scan_settings.h"

namespace vscan {

// Whether this build encodes pages with `compression` (TWCP_NONE always).
bool encodes(TW_UINT16 compression);
// Whether this build writes files of `format` (TWFF_BMP always).
bool writesFileFormat(TW_UINT16 format);

// The page as a baseline JFIF stream at `quality` (0 to 100), of gray or RGB pixels.
std::optional<std::vector<uint8_t>> encodeJpeg(const ScanSettings& settings, int quality);
// The page's black and white pixels as Group 4 (T.6) data, with no header: white counts as 0.
std::optional<std::vector<uint8_t>> encodeGroup4(const ScanSettings& settings);
// A TIFF file of the page: one strip, Group 4 for black and white, else uncompressed.
std::optional<std::vector<uint8_t>> encodeTiff(const ScanSettings& settings);

}  // namespace vscan

#endif
