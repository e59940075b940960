// The trace of one triplet: begun before DSM_Entry, answered once its codes are known. Its line is
// written once the session has moved on from it, so that it holds the state before and after: at
// the thread's next line of the trace, or when its call of the session ends.
#ifndef SCANLINK_TRACE_TRIPLET_TRACE_H
#define SCANLINK_TRACE_TRIPLET_TRACE_H

#include <chrono>
#include <cstdint>
#include <string>

#include "twain/twain.h"

class TracedTriplet {
  public:
    TracedTriplet(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                  TW_MEMREF data);
    TracedTriplet(const TracedTriplet&) = delete;
    TracedTriplet& operator=(const TracedTriplet&) = delete;

    // The result code, and the condition code when the status was asked for and given.
    void answered(TW_UINT16 resultCode, bool conditionKnown, TW_UINT16 conditionCode);

  private:
    TW_UINT16 dat_;
    TW_UINT16 msg_;
    TW_MEMREF data_;
    std::int32_t stateBefore_;
    std::chrono::system_clock::time_point sent_;
    std::chrono::steady_clock::time_point started_;
    std::string text_;
};

// Writes the line of the thread's last triplet, if it waits to be written.
void writePendingTriplet();

#endif
