// The buffer an application lends the source for each DAT_IMAGEMEMXFER (TWMF_APPOWNS): its size,
// chosen within what the source takes, and its memory, given as a pointer or as a global memory
// handle, freed by its owner on every path.
#ifndef SCANLINK_SESSION_MEMORY_BUFFER_H
#define SCANLINK_SESSION_MEMORY_BUFFER_H

#include <windows.h>

#include <cstdint>
#include <memory>

#include "twain/twain.h"

// The size nearest the source's preferred one within its minimum and maximum, and within what the
// library lends (at most kLargestBuffer, unless the source's minimum is larger). 0 when the source
// asks for none that the library can lend: a minimum above its maximum, or above kLargestBuffer.
std::uint32_t chooseBufferSize(const TW_SETUPMEMXFER& sizes);

inline constexpr std::uint32_t kDefaultBuffer = 64 * 1024;
inline constexpr std::uint32_t kLargestBuffer = 16 * 1024 * 1024;

class MemoryBuffer {
  public:
    enum class Kind { Pointer, Handle };

    // Throws std::bad_alloc when the memory cannot be had.
    MemoryBuffer(Kind kind, std::uint32_t size);
    ~MemoryBuffer();
    MemoryBuffer(const MemoryBuffer&) = delete;
    MemoryBuffer& operator=(const MemoryBuffer&) = delete;

    // The record's Memory, as the source is to fill it.
    TW_MEMORY record() const;
    std::uint32_t size() const { return size_; }
    Kind kind() const { return kind_; }

    // The bytes, while the buffer is read: a handle is locked for as long as a Lock lives.
    class Lock {
      public:
        explicit Lock(const MemoryBuffer& buffer);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
        const std::uint8_t* data() const { return bytes_; }

      private:
        const MemoryBuffer& buffer_;
        const std::uint8_t* bytes_;
    };

  private:
    Kind kind_;
    std::uint32_t size_;
    std::unique_ptr<std::uint8_t[]> bytes_;  // Pointer
    HGLOBAL handle_ = {};                    // Handle
};

#endif
