#include "session/memory_buffer.h"

#include <algorithm>
#include <new>

namespace {

constexpr TW_UINT32 kDontCare = 0xFFFFFFFF;

}  // namespace

std::uint32_t chooseBufferSize(const TW_SETUPMEMXFER& sizes) {
    const std::uint32_t lowest =
        sizes.MinBufSize == 0 || sizes.MinBufSize == kDontCare ? 1 : sizes.MinBufSize;
    const std::uint32_t highest =
        sizes.MaxBufSize == 0 || sizes.MaxBufSize == kDontCare ? kDontCare : sizes.MaxBufSize;
    if (lowest > highest || lowest > kLargestBuffer) {
        return 0;
    }
    const std::uint32_t preferred =
        sizes.Preferred == 0 || sizes.Preferred == kDontCare ? kDefaultBuffer : sizes.Preferred;
    return std::clamp(std::min(preferred, kLargestBuffer), lowest, highest);
}

MemoryBuffer::MemoryBuffer(Kind kind, std::uint32_t size) : kind_(kind), size_(size) {
    if (kind == Kind::Pointer) {
        bytes_ = std::make_unique<std::uint8_t[]>(size);
        return;
    }
    handle_ = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!handle_) {
        throw std::bad_alloc();
    }
}

MemoryBuffer::~MemoryBuffer() {
    if (handle_) {
        GlobalFree(handle_);
    }
}

TW_MEMORY MemoryBuffer::record() const {
    if (kind_ == Kind::Pointer) {
        return {TWMF_APPOWNS | TWMF_POINTER, size_, bytes_.get()};
    }
    return {TWMF_APPOWNS | TWMF_HANDLE, size_, memrefOfHandle(handle_)};
}

MemoryBuffer::Lock::Lock(const MemoryBuffer& buffer)
    : buffer_(buffer),
      bytes_(buffer.kind_ == Kind::Pointer
                 ? buffer.bytes_.get()
                 : static_cast<const std::uint8_t*>(GlobalLock(buffer.handle_))) {}

MemoryBuffer::Lock::~Lock() {
    if (buffer_.kind_ == Kind::Handle && bytes_ != nullptr) {
        GlobalUnlock(buffer_.handle_);
    }
}
