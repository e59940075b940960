// The whole virtual device: manager, source, script and log, behind one lock. The entry points
// (DSM_Entry, or DS_Entry where the source runs under another manager), the source's own worker
// threads and the test controls all take the lock before touching it.
#ifndef VIRTUAL_SCANNER_SCANNER_H
#define VIRTUAL_SCANNER_SCANNER_H

#include <mutex>
#include <vector>

#include "manager.h"
#include "script.h"
#include "triplet_log.h"

namespace vscan {

struct Scanner {
    Script script;
    VirtualSource source{script};
    Manager manager{source, script};
    std::vector<LoggedTriplet> log;
};

std::mutex& scannerMutex();
// The one scanner of the process; the caller holds scannerMutex().
Scanner& scanner();

// Lets go of the scanner's lock while the device works its windows: their procedures run inside
// such calls and may take the lock, and a message sent to another thread's window waits for that
// thread. Whoever holds the lock holds it again afterwards, and must expect the device changed.
class Unlocked {
  public:
    Unlocked() { scannerMutex().unlock(); }
    ~Unlocked() { scannerMutex().lock(); }
    Unlocked(const Unlocked&) = delete;
    Unlocked& operator=(const Unlocked&) = delete;
};

// Adds a triplet to the log with the result it was answered; a successful DAT_STATUS also keeps
// the condition code it reported. A long scan logs two triplets per message, so the oldest half
// goes when the log is full.
void logAnswer(Scanner& s, LoggedTriplet entry, TW_UINT16 result, TW_MEMREF data);

// Whether a driver that assumes one thread (knob "threads.strict") refuses the triplet: it comes
// from a thread other than the one that opened the manager, or the source it is addressed to. A
// status request is answered on any thread, so that the refused thread learns why.
bool refusedForThread(const Scanner& s, pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat);

// The result a test scripted for a triplet. Its condition code goes into the status record when the
// triplet is itself a successful DAT_STATUS, else to `recordConditionCode` for the next one.
template <class RecordConditionCode>
TW_UINT16 scriptedResult(const ScriptedAnswer& answer, TW_UINT32 dg, TW_UINT16 dat, TW_MEMREF data,
                         RecordConditionCode recordConditionCode) {
    if (dg == DG_CONTROL && dat == DAT_STATUS && data != nullptr &&
        answer.resultCode == TWRC_SUCCESS) {
        static_cast<TW_STATUS*>(data)->ConditionCode = answer.conditionCode;
    } else {
        recordConditionCode(answer.conditionCode);
    }
    return answer.resultCode;
}

}  // namespace vscan

#endif
