// Global memory blocks as the capability operations hold them.
#ifndef SCANLINK_SETTINGS_GLOBAL_MEMORY_H
#define SCANLINK_SETTINGS_GLOBAL_MEMORY_H

#include <windows.h>

#include <cstdint>

// A global memory block that the operation owns: freed when the operation ends, on every path.
class OwnedBlock {
  public:
    explicit OwnedBlock(HGLOBAL handle) : handle_(handle) {}
    ~OwnedBlock() {
        if (handle_) {
            GlobalFree(handle_);
        }
    }
    OwnedBlock(const OwnedBlock&) = delete;
    OwnedBlock& operator=(const OwnedBlock&) = delete;

    HGLOBAL get() const { return handle_; }

  private:
    HGLOBAL handle_;
};

// The bytes of a block while it is locked; the size is the block's own (GlobalSize), so that
// nothing is read beyond it whatever the container claims.
class LockedBytes {
  public:
    explicit LockedBytes(HGLOBAL handle)
        : handle_(handle), bytes_(static_cast<std::uint8_t*>(GlobalLock(handle))) {
        size_ = bytes_ != nullptr ? GlobalSize(handle) : 0;
    }
    ~LockedBytes() {
        if (bytes_ != nullptr) {
            GlobalUnlock(handle_);
        }
    }
    LockedBytes(const LockedBytes&) = delete;
    LockedBytes& operator=(const LockedBytes&) = delete;

    explicit operator bool() const { return bytes_ != nullptr; }
    std::uint8_t* data() const { return bytes_; }
    std::uint64_t size() const { return size_; }

  private:
    HGLOBAL handle_;
    std::uint8_t* bytes_;
    std::uint64_t size_ = 0;
};

#endif
