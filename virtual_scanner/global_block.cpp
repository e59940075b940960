#include "global_block.h"

#include <cstring>

namespace vscan {

HGLOBAL globalBlockOf(const std::vector<std::uint8_t>& bytes) {
    const HGLOBAL block = GlobalAlloc(GHND, bytes.size());
    if (bytes.empty()) {
        return block;  // no memory to lock or fill: Windows locks no block of zero bytes
    }
    void* target = block ? GlobalLock(block) : nullptr;
    if (target == nullptr) {
        if (block) {
            GlobalFree(block);
        }
        return 0;
    }
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

}  // namespace vscan
