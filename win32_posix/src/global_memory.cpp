#include <cstring>
#include <new>

#include "handle_table.h"

using namespace win32posix;

namespace {

constexpr DWORD kErrorDiscarded = 157;
constexpr DWORD kErrorNotLocked = 158;
// Memory not asked to be zeroed holds this pattern, so that a reader of bytes nobody wrote sees
// garbage here too.
constexpr int kUninitializedByte = 0xCD;

}  // namespace

extern "C" HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if ((flags & ~static_cast<UINT>(GMEM_MOVEABLE | GMEM_ZEROINIT)) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::unique_ptr<std::byte[]> storage(new (std::nothrow) std::byte[bytes == 0 ? 1 : bytes]);
    if (!storage) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    std::memset(storage.get(), (flags & GMEM_ZEROINIT) ? 0 : kUninitializedByte,
                bytes == 0 ? 1 : bytes);
    auto lock = lockHandles();
    return addHandle(GlobalBlock{std::move(storage), bytes, 0, (flags & GMEM_MOVEABLE) != 0});
}

// A moveable block of zero bytes has no memory to lock, as on Windows.
extern "C" LPVOID GlobalLock(HGLOBAL mem) {
    auto lock = lockHandles();
    GlobalBlock* block = findHandle<GlobalBlock>(mem);
    if (block == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (block->moveable && block->size == 0) {
        SetLastError(kErrorDiscarded);
        return nullptr;
    }
    block->lockCount++;
    return block->bytes.get();
}

// Nonzero while the block stays locked; zero when this was the last lock, or on error.
extern "C" BOOL GlobalUnlock(HGLOBAL mem) {
    auto lock = lockHandles();
    GlobalBlock* block = findHandle<GlobalBlock>(mem);
    if (block == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (block->lockCount == 0) {
        SetLastError(kErrorNotLocked);
        return FALSE;
    }
    if (--block->lockCount == 0) {
        SetLastError(ERROR_SUCCESS);
        return FALSE;
    }
    return TRUE;
}

// Zero on success, the handle itself on failure.
extern "C" HGLOBAL GlobalFree(HGLOBAL mem) {
    auto lock = lockHandles();
    if (findHandle<GlobalBlock>(mem) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return mem;
    }
    removeHandle(mem);
    return 0;
}

extern "C" SIZE_T GlobalSize(HGLOBAL mem) {
    auto lock = lockHandles();
    const GlobalBlock* block = findHandle<GlobalBlock>(mem);
    if (block == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return block->size;
}
