// The page the source scans with these settings, pixel by pixel, as vscan_expectedPage gives it.
#ifndef VIRTUAL_SCANNER_EXPECTED_PAGE_H
#define VIRTUAL_SCANNER_EXPECTED_PAGE_H

#include <cstddef>
#include <cstdint>

#include "scan_settings.h"

namespace vscan {

size_t expectedPage(const ScanSettings& settings, uint32_t* rgb, size_t count, int32_t* width,
                    int32_t* height);

}  // namespace vscan

#endif
