// What parsing untrusted containers may allocate: a source's block, or a record from the VM, is
// never parsed into more than a small multiple of its own size, so that a large array from a
// source cannot exhaust a 32-bit VM's address space, and a count that the bytes cannot back makes
// no room at all. Every allocation of this program is counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "jni/container_record.h"
#include "settings/capability_container.h"

namespace {

std::atomic<std::size_t> liveBytes = 0;
std::atomic<std::size_t> peakBytes = 0;

// Each block carries its size in front, so that the delete without a size knows it.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* counted(std::size_t size) {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<std::size_t*>(block) = size;
    const std::size_t now = liveBytes += size;
    for (std::size_t peak = peakBytes; now > peak && !peakBytes.compare_exchange_weak(peak, now);) {
    }
    return static_cast<char*>(block) + kHeader;
}

void uncounted(void* pointer) noexcept {
    if (pointer != nullptr) {
        void* block = static_cast<char*>(pointer) - kHeader;
        liveBytes -= *static_cast<std::size_t*>(block);
        std::free(block);
    }
}

// The most that `work` allocated at once beyond what was allocated before it.
template <class Work>
std::size_t peakOf(Work work) {
    const std::size_t before = liveBytes;
    peakBytes = before;
    work();
    return peakBytes - before;
}

constexpr std::size_t kItems = 1 << 20;

TEST(AllocationBound, AnArrayOfBytesIsParsedIntoAtMostEightTimesItsBlock) {
    std::vector<std::uint8_t> block(6 + kItems, 0x5A);
    block[0] = TWTY_UINT8, block[1] = 0;
    block[2] = 0, block[3] = 0, block[4] = 0x10, block[5] = 0;  // 2^20 items
    std::size_t items = 0;
    const std::size_t peak = peakOf([&] {
        const ContainerResult read = readContainer(TWON_ARRAY, block.data(), block.size());
        items = read.container.size();
    });
    EXPECT_EQ(items, kItems);
    EXPECT_LE(peak, 8 * block.size() + 4096);
}

TEST(AllocationBound, ARecordOfNumbersIsParsedIntoNoMoreThanItself) {
    CapabilityContainer numbers;
    numbers.conType = TWON_ARRAY;
    numbers.itemType = TWTY_UINT8;
    numbers.numbers.assign(kItems, 7);
    RecordWriter writer;
    writeContainer(writer, numbers);
    const std::vector<std::uint8_t> bytes = writer.bytes();
    std::size_t peak = peakOf([&] {
        RecordReader record(bytes);
        EXPECT_TRUE(readContainerRecord(record));
    });
    // The reader's own copy of the record, and the numbers.
    EXPECT_LE(peak, 2 * bytes.size() + 4096);
}

TEST(AllocationBound, ACountThatTheRecordCannotBackMakesNoRoom) {
    // An array of 2^32 - 1 numbers, none of them there.
    const std::vector<std::uint8_t> bytes = {
        TWON_ARRAY, 0, TWTY_INT32, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4};
    const std::size_t peak = peakOf([&] {
        RecordReader record(bytes);
        EXPECT_FALSE(readContainerRecord(record));
    });
    EXPECT_LE(peak, 1024u);
}

}  // namespace

void* operator new(std::size_t size) { return counted(size); }
void* operator new[](std::size_t size) { return counted(size); }
void operator delete(void* pointer) noexcept { uncounted(pointer); }
void operator delete[](void* pointer) noexcept { uncounted(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { uncounted(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { uncounted(pointer); }
