// A copy of some bytes whose last byte is followed by an inaccessible page, so that a read of even
// one byte past the end stops the process instead of going unnoticed.
#ifndef SCANLINK_TESTS_IMAGE_GUARDED_BLOCK_H
#define SCANLINK_TESTS_IMAGE_GUARDED_BLOCK_H

#include <cstddef>
#include <cstdint>
#include <vector>

class GuardedBlock {
  public:
    GuardedBlock(const void* bytes, std::size_t size);
    explicit GuardedBlock(const std::vector<std::uint8_t>& bytes)
        : GuardedBlock(bytes.data(), bytes.size()) {}
    ~GuardedBlock();
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

  private:
    void* mapping_;
    std::size_t mappingSize_;
    std::uint8_t* data_;
    std::size_t size_;
};

#endif
