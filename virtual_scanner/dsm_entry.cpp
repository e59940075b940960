// The one export a manager has.
#include <cstddef>

#include "scanner.h"

using namespace vscan;

namespace {

// A long scan logs two triplets per message; the oldest half goes when the log is this long.
constexpr std::size_t kLogLimit = 100000;

void appendToLog(Scanner& s, LoggedTriplet entry) {
    if (s.log.size() >= kLogLimit) {
        s.log.erase(s.log.begin(), s.log.begin() + kLogLimit / 2);
    }
    s.log.push_back(std::move(entry));
}

}  // namespace

extern "C" __attribute__((visibility("default"))) TW_UINT16 DSM_Entry(pTW_IDENTITY origin,
                                                                      pTW_IDENTITY destination,
                                                                      TW_UINT32 dg, TW_UINT16 dat,
                                                                      TW_UINT16 msg,
                                                                      TW_MEMREF data) {
    std::lock_guard lock(scannerMutex());
    Scanner& s = scanner();
    LoggedTriplet entry = recordTriplet(origin, destination, dg, dat, msg, data);
    TW_UINT16 result;
    if (auto answer = s.script.take(dg, dat, msg)) {
        result = answer->resultCode;
        if (dg == DG_CONTROL && dat == DAT_STATUS && data != nullptr && result == TWRC_SUCCESS) {
            static_cast<TW_STATUS*>(data)->ConditionCode = answer->conditionCode;
        } else {
            s.manager.recordConditionCode(destination, answer->conditionCode);
        }
    } else {
        result = s.manager.entry(origin, destination, dg, dat, msg, data);
    }
    entry.resultCode = result;
    if (dg == DG_CONTROL && dat == DAT_STATUS && data != nullptr && result == TWRC_SUCCESS) {
        entry.statusCondition = static_cast<TW_STATUS*>(data)->ConditionCode;
    }
    appendToLog(s, std::move(entry));
    return result;
}
