#include "source_transfer.h"

namespace vscan {

void Transfer::start() {}

void Transfer::stop() { pending_ = 0; }

TW_UINT16 Transfer::processEvent(TW_UINT16 msg, TW_EVENT* event) {
    if (msg != MSG_PROCESSEVENT || event == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    if (!core_.inStates(5, 7)) {
        return core_.fail(TWCC_SEQERROR);
    }
    event->TWMessage = MSG_NULL;
    return TWRC_NOTDSEVENT;
}

TW_UINT16 Transfer::nativeTransfer(TW_UINT16 msg, TW_HANDLE* image) {
    if (msg != MSG_GET || image == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    return core_.fail(TWCC_SEQERROR);
}

TW_UINT16 Transfer::pendingTransfers(TW_UINT16 msg, TW_PENDINGXFERS* pending) {
    if (pending == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    switch (msg) {
        case MSG_ENDXFER: {
            if (!core_.inStates(6, 7)) {
                return core_.fail(TWCC_SEQERROR);
            }
            const auto scripted = core_.script.knob("endxfer.count");
            pending_ = scripted ? static_cast<TW_UINT16>(*scripted)
                                : (pending_ == 0 || pending_ == 0xFFFF ? pending_ : pending_ - 1);
            pending->Count = pending_;
            core_.state = pending_ != 0 ? 6 : 5;
            return TWRC_SUCCESS;
        }
        case MSG_RESET:
            if (core_.state != 6) {
                return core_.fail(TWCC_SEQERROR);
            }
            pending_ = 0;
            pending->Count = 0;
            core_.state = 5;
            return TWRC_SUCCESS;
        case MSG_GET:
            if (!core_.inStates(4, 7)) {
                return core_.fail(TWCC_SEQERROR);
            }
            pending->Count = pending_;
            return TWRC_SUCCESS;
        default:
            return core_.fail(TWCC_BADPROTOCOL);
    }
}

}  // namespace vscan
