// The trace of one triplet: begun before DSM_Entry in the state the session was in, answered once
// its codes are known. Its line is held (trace.h) until the session has moved on from it.
#ifndef SCANLINK_TRACE_TRIPLET_TRACE_H
#define SCANLINK_TRACE_TRIPLET_TRACE_H

#include <chrono>
#include <cstdint>
#include <string>

#include "twain/twain.h"

class TracedTriplet {
  public:
    TracedTriplet(std::int32_t stateBefore, pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat,
                  TW_UINT16 msg, TW_MEMREF data);
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

#endif
