#include "triplet_log.h"

#include <cstring>

namespace vscan {
namespace {

// Bytes of the record that comes with each kind of triplet.
std::size_t recordSize(TW_UINT16 dat) {
    switch (dat) {
        case DAT_PARENT:
            return sizeof(HWND);
        case DAT_IDENTITY:
            return sizeof(TW_IDENTITY);
        case DAT_STATUS:
            return sizeof(TW_STATUS);
        case DAT_USERINTERFACE:
            return sizeof(TW_USERINTERFACE);
        case DAT_CAPABILITY:
            return sizeof(TW_CAPABILITY);
        case DAT_EVENT:
            return sizeof(TW_EVENT);
        case DAT_PENDINGXFERS:
            return sizeof(TW_PENDINGXFERS);
        case DAT_IMAGELAYOUT:
            return sizeof(TW_IMAGELAYOUT);
        case DAT_IMAGEINFO:
            return sizeof(TW_IMAGEINFO);
        case DAT_IMAGENATIVEXFER:
            return sizeof(TW_HANDLE);
        default:
            return 0;
    }
}

std::vector<std::uint8_t> bytesOf(const void* data, std::size_t size) {
    if (data == nullptr) {
        return {};
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

// The container a capability request carries, as far as its block reaches.
std::vector<std::uint8_t> containerOf(TW_UINT16 dat, const void* data) {
    if (dat != DAT_CAPABILITY || data == nullptr) {
        return {};
    }
    TW_CAPABILITY capability;
    std::memcpy(&capability, data, sizeof(capability));
    if (!capability.hContainer) {
        return {};
    }
    const void* block = GlobalLock(capability.hContainer);
    if (block == nullptr) {
        return {};
    }
    std::vector<std::uint8_t> bytes = bytesOf(block, GlobalSize(capability.hContainer));
    GlobalUnlock(capability.hContainer);
    return bytes;
}

}  // namespace

LoggedTriplet recordTriplet(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg,
                            TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    LoggedTriplet entry;
    entry.originId = origin ? origin->Id : 0;
    entry.toSource = destination != nullptr;
    entry.destinationId = destination ? destination->Id : 0;
    entry.dg = dg;
    entry.dat = dat;
    entry.msg = msg;
    entry.thread = GetCurrentThreadId();
    entry.origin = bytesOf(origin, origin ? sizeof(TW_IDENTITY) : 0);
    entry.data = bytesOf(data, recordSize(dat));
    entry.container = containerOf(dat, data);
    return entry;
}

}  // namespace vscan
