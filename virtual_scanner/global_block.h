// Handing bytes to the application the way a source does: in a global memory block that the
// application then owns.
#ifndef VIRTUAL_SCANNER_GLOBAL_BLOCK_H
#define VIRTUAL_SCANNER_GLOBAL_BLOCK_H

#include <windows.h>

#include <cstdint>
#include <vector>

namespace vscan {

// A new unlocked block holding the bytes; none when memory ran out. A block of no bytes cannot be
// locked, by the source or the application.
HGLOBAL globalBlockOf(const std::vector<std::uint8_t>& bytes);

}  // namespace vscan

#endif
