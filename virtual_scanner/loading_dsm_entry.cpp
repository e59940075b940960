// The one export of the manager that loads its sources from their own modules (Windows only).
#include <virtual_scanner_control.h>

#include "loading_manager.h"
#include "scanner.h"

using namespace vscan;

extern "C" VSCAN_API TW_UINT16 PASCAL DSM_Entry(pTW_IDENTITY origin, pTW_IDENTITY destination,
                                                TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                                                TW_MEMREF data) {
    std::lock_guard lock(scannerMutex());
    Scanner& s = scanner();
    LoadingManager& manager = loadingManager();
    LoggedTriplet entry = recordTriplet(origin, destination, dg, dat, msg, data);
    TW_UINT16 result;
    if (manager.refusesThread(destination, dg, dat)) {
        entry.refusedForThread = true;
        manager.recordConditionCode(destination, TWCC_SEQERROR);
        result = TWRC_FAILURE;
    } else if (auto answer = s.script.take(dg, dat, msg)) {
        result = scriptedResult(*answer, dg, dat, data, [&](TW_UINT16 code) {
            manager.recordConditionCode(destination, code);
        });
    } else {
        result = manager.entry(origin, destination, dg, dat, msg, data);
    }
    logAnswer(s, std::move(entry), result, data);
    return result;
}
