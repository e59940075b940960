#include "guarded_block.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <new>

GuardedBlock::GuardedBlock(const void* bytes, std::size_t size) : size_(size) {
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t dataPages = (size + page - 1) / page;
    mappingSize_ = (dataPages + 1) * page;
    mapping_ =
        mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping_ == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* guard = static_cast<std::uint8_t*>(mapping_) + dataPages * page;
    mprotect(guard, page, PROT_NONE);
    data_ = guard - size;
    if (size != 0) {
        std::memcpy(data_, bytes, size);
    }
}

GuardedBlock::~GuardedBlock() { munmap(mapping_, mappingSize_); }
