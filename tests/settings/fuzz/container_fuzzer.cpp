// libFuzzer target: the first two bytes name the container type, the rest is the source's block,
// an exact-size heap copy so that AddressSanitizer marks its end. The reader must refuse the block
// with a reason, or give a container whose items agree with its kind; what it gives of the kinds
// the library sends must lay out and read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "settings/capability_container.h"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const auto conType = static_cast<TW_UINT16>(data[0] | data[1] << 8);
    const std::size_t blockSize = size - 2;
    const std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[blockSize]);
    std::memcpy(block.get(), data + 2, blockSize);
    const ContainerResult read = readContainer(conType, block.get(), blockSize);
    if (!read.ok()) {
        require(read.container.size() == 0);
        return 0;
    }
    const CapabilityContainer& container = read.container;
    const std::size_t count = container.size();
    require(itemSizeOf(container.itemType) != 0);
    // Every item came from inside the block.
    require(count * itemSizeOf(container.itemType) <= blockSize || conType == TWON_RANGE);
    switch (conType) {
        case TWON_ONEVALUE:
            require(count == 1);
            break;
        case TWON_RANGE:
            require(count == 5 && container.numbers[0] <= container.numbers[1]);
            return 0;
        case TWON_ENUMERATION:
            require(container.currentIndex < count && container.defaultIndex < count);
            break;
        default:
            require(conType == TWON_ARRAY);
    }
    const LaidContainer laid = layContainer(container);
    require(laid.fault.empty());
    const ContainerResult again = readContainer(conType, laid.bytes.data(), laid.bytes.size());
    require(again.ok() && again.container == container);
    return 0;
}
