#include "page_encode.h"

namespace vscan {

bool encodes(TW_UINT16 compression) { return compression == TWCP_NONE; }

bool writesFileFormat(TW_UINT16 format) { return format == TWFF_BMP; }

std::optional<std::vector<uint8_t>> encodeJpeg(const ScanSettings&, int) { return std::nullopt; }

std::optional<std::vector<uint8_t>> encodeGroup4(const ScanSettings&) { return std::nullopt; }

std::optional<std::vector<uint8_t>> encodeTiff(const ScanSettings&) { return std::nullopt; }

}  // namespace vscan
