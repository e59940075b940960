// Why the last transfer gave no page: the codes of the native transfer itself, which the steps
// taken after it (ending the transfers, disabling the source) overwrite in the session's codes. A
// caller that must tell a jam from an empty feeder or a cancel reads them here.
#ifndef SCANLINK_SESSION_TRANSFER_FAILURE_H
#define SCANLINK_SESSION_TRANSFER_FAILURE_H

#include <cstdint>

#include "twain/twain.h"

// A new enable forgets the failure of an earlier one.
void forgetTransferFailure();
// Keeps the codes of a transfer that answered outside the success set.
void recordTransferFailure(TW_UINT16 resultCode, TW_UINT16 conditionCode);
// The result code in bits 16 to 31 and the condition code in bits 0 to 15 of the last transfer
// that failed since the source was enabled; -1 when none did. Read on any thread.
std::int64_t transferFailure();

#endif
