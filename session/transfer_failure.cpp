#include "session/transfer_failure.h"

#include <atomic>

namespace {

constexpr std::int64_t kNone = -1;
std::atomic<std::int64_t> lastFailure{kNone};

}  // namespace

void forgetTransferFailure() { lastFailure = kNone; }

void recordTransferFailure(TW_UINT16 resultCode, TW_UINT16 conditionCode) {
    lastFailure = static_cast<std::int64_t>(resultCode) << 16 | conditionCode;
}

std::int64_t transferFailure() { return lastFailure; }
