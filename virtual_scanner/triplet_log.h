// Every triplet the manager receives, in order, with copies of the records it came with.
#ifndef VIRTUAL_SCANNER_TRIPLET_LOG_H
#define VIRTUAL_SCANNER_TRIPLET_LOG_H

#include <cstdint>
#include <vector>

#include "twain/twain.h"

namespace vscan {

struct LoggedTriplet {
    TW_UINT32 originId = 0;
    bool toSource = false;
    TW_UINT32 destinationId = 0;
    TW_UINT32 dg = 0;
    TW_UINT16 dat = 0;
    TW_UINT16 msg = 0;
    TW_UINT16 resultCode = 0;
    TW_UINT16 statusCondition = 0;  // what a DAT_STATUS answered with success reported
    DWORD thread = 0;               // the thread it came from
    bool refusedForThread = false;  // refused by a driver that assumes one thread
    std::vector<std::uint8_t> origin;
    std::vector<std::uint8_t> data;
    std::vector<std::uint8_t> container;
};

// Copies what the caller handed over, before the triplet is carried out.
LoggedTriplet recordTriplet(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg,
                            TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

}  // namespace vscan

#endif
