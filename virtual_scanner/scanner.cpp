#include "scanner.h"

namespace vscan {
namespace {

constexpr std::size_t kLogLimit = 100000;

}  // namespace

// Never destroyed either, for the same worker thread.
std::mutex& scannerMutex() {
    static std::mutex* const mutex = new std::mutex;
    return *mutex;
}

// Never destroyed: the source's worker thread may still be waiting when the process ends. On
// Windows a library's static objects are destroyed after every other thread has been ended, and
// waiting there for the worker never returns.
Scanner& scanner() {
    static Scanner* const instance = new Scanner;
    return *instance;
}

void logAnswer(Scanner& s, LoggedTriplet entry, TW_UINT16 result, TW_MEMREF data) {
    entry.resultCode = result;
    if (entry.dg == DG_CONTROL && entry.dat == DAT_STATUS && data != nullptr &&
        result == TWRC_SUCCESS) {
        entry.statusCondition = static_cast<TW_STATUS*>(data)->ConditionCode;
    }
    if (s.log.size() >= kLogLimit) {
        s.log.erase(s.log.begin(), s.log.begin() + kLogLimit / 2);
    }
    s.log.push_back(std::move(entry));
}

bool refusedForThread(const Scanner& s, pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat) {
    if (s.script.knob("threads.strict").value_or(0) == 0 ||
        (dg == DG_CONTROL && dat == DAT_STATUS)) {
        return false;
    }
    DWORD expected = 0;
    if (destination == nullptr) {
        expected = s.manager.openingThread();
    } else if (s.source.isOpen() && destination->Id == s.source.id()) {
        expected = s.source.openingThread();
    }
    return expected != 0 && expected != GetCurrentThreadId();
}

}  // namespace vscan
