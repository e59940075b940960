// Handles as the numbers that knobs hold: a Windows handle is a pointer, one of the POSIX host's
// stand-in a 32-bit number.
#ifndef VIRTUAL_SCANNER_HANDLE_BITS_H
#define VIRTUAL_SCANNER_HANDLE_BITS_H

#include <cstdint>
#include <type_traits>

namespace vscan {

template <class Handle>
Handle handleFromBits(std::int64_t bits) {
    if constexpr (std::is_pointer_v<Handle>) {
        return reinterpret_cast<Handle>(static_cast<std::intptr_t>(bits));
    } else {
        return static_cast<Handle>(bits);
    }
}

template <class Handle>
std::uint64_t handleBits(Handle handle) {
    if constexpr (std::is_pointer_v<Handle>) {
        return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
    } else {
        return static_cast<std::uint64_t>(handle);
    }
}

}  // namespace vscan

#endif
