// The source's side of a scan: its events, the native transfer and the pending transfers.
#ifndef VIRTUAL_SCANNER_SOURCE_TRANSFER_H
#define VIRTUAL_SCANNER_SOURCE_TRANSFER_H

#include "source_capabilities.h"
#include "source_core.h"

namespace vscan {

class Transfer {
public:
    Transfer(SourceCore& core, const Capabilities& capabilities)
        : core_(core), capabilities_(capabilities) {}

    // The source has just been enabled: a scan starts.
    void start();
    // The source is being disabled or closed: nothing is posted after this returns.
    void stop();

    TW_UINT16 processEvent(TW_UINT16 msg, TW_EVENT* event);
    TW_UINT16 nativeTransfer(TW_UINT16 msg, TW_HANDLE* image);
    TW_UINT16 pendingTransfers(TW_UINT16 msg, TW_PENDINGXFERS* pending);

private:
    SourceCore& core_;
    const Capabilities& capabilities_;
    TW_UINT16 pending_ = 0;
};

}  // namespace vscan

#endif
