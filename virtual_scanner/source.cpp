#include "source.h"

namespace vscan {

TW_UINT16 VirtualSource::open(const TW_IDENTITY& identity, const SourceModel& model,
                              HWND appWindow) {
    if (isOpen()) {
        return core_.fail(TWCC_MAXCONNECTIONS);
    }
    core_.identity = identity;
    core_.appWindow = appWindow;
    core_.openingThread = GetCurrentThreadId();
    core_.userInterface = {};
    core_.conditionCode = TWCC_SUCCESS;
    capabilities_.reset(model.capabilities());
    transfer_.reset();
    core_.state = 4;
    return TWRC_SUCCESS;
}

TW_UINT16 VirtualSource::close() {
    if (core_.state != 4) {
        return core_.fail(TWCC_SEQERROR);
    }
    core_.state = kSourceClosed;
    return TWRC_SUCCESS;
}

void VirtualSource::forceClose() {
    transfer_.stop();
    core_.state = kSourceClosed;
    windows_.abandon();
}

TW_UINT16 VirtualSource::handle(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    if (dg == DG_CONTROL) {
        switch (dat) {
            case DAT_STATUS:
                return status(msg, static_cast<TW_STATUS*>(data));
            case DAT_USERINTERFACE:
                return userInterface(msg, static_cast<TW_USERINTERFACE*>(data));
            case DAT_CAPABILITY:
                return capabilities_.capability(msg, static_cast<TW_CAPABILITY*>(data));
            case DAT_EVENT:
                return event(msg, static_cast<TW_EVENT*>(data));
            case DAT_PENDINGXFERS:
                return pendingTransfers(msg, static_cast<TW_PENDINGXFERS*>(data));
            default:
                break;
        }
    } else if (dg == DG_IMAGE) {
        switch (dat) {
            case DAT_IMAGELAYOUT:
                return capabilities_.imageLayout(msg, static_cast<TW_IMAGELAYOUT*>(data));
            case DAT_IMAGENATIVEXFER:
                return nativeTransfer(msg, static_cast<TW_HANDLE*>(data));
            case DAT_IMAGEINFO:
                return transfer_.imageInfo(msg, static_cast<TW_IMAGEINFO*>(data));
            default:
                break;
        }
    }
    return core_.fail(TWCC_BADPROTOCOL);
}

// The source reports its last condition code once, then forgets it.
TW_UINT16 VirtualSource::status(TW_UINT16 msg, TW_STATUS* status) {
    if (msg != MSG_GET || status == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    status->ConditionCode = core_.conditionCode;
    status->Reserved = 0;
    core_.conditionCode = TWCC_SUCCESS;
    return TWRC_SUCCESS;
}

TW_UINT16 VirtualSource::userInterface(TW_UINT16 msg, TW_USERINTERFACE* ui) {
    if (ui == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    switch (msg) {
        case MSG_ENABLEDS:
            if (core_.state != 4) {
                return core_.fail(TWCC_SEQERROR);
            }
            core_.userInterface = *ui;
            core_.state = 5;
            transfer_.insideEnable(true);
            transfer_.start(!windows_.waitsForUser(), windows_.userIsManual());
            // A modal dialog returns once the user has pressed a button.
            if (const int button = windows_.enabled(); button != 0 && core_.state == 5) {
                transfer_.userPressed(button);
            }
            transfer_.insideEnable(false);
            return TWRC_SUCCESS;
        case MSG_DISABLEDS:
            if (core_.state != 5) {
                return core_.fail(TWCC_SEQERROR);
            }
            transfer_.stop();
            core_.state = 4;
            windows_.disabled();
            return TWRC_SUCCESS;
        default:
            return core_.fail(TWCC_BADPROTOCOL);
    }
}

// The source takes the presses in its dialog from the application's queue like its own events.
TW_UINT16 VirtualSource::event(TW_UINT16 msg, TW_EVENT* event) {
    if (msg == MSG_PROCESSEVENT && event != nullptr && event->pEvent != nullptr &&
        core_.inStates(5, 7)) {
        if (const int button = windows_.pressIn(*static_cast<const MSG*>(event->pEvent))) {
            event->TWMessage = MSG_NULL;
            transfer_.userPressed(button);
            return TWRC_DSEVENT;
        }
    }
    const TW_UINT16 result = transfer_.processEvent(msg, event);
    if (result == TWRC_DSEVENT) {
        windows_.notifyDialog();
    }
    return result;
}

TW_UINT16 VirtualSource::nativeTransfer(TW_UINT16 msg, TW_HANDLE* image) {
    if (msg == MSG_GET && image != nullptr && core_.state == 6) {
        windows_.transferStarting(capabilities_.showsIndicators());
    }
    return transfer_.nativeTransfer(msg, image);
}

TW_UINT16 VirtualSource::pendingTransfers(TW_UINT16 msg, TW_PENDINGXFERS* pending) {
    const TW_UINT16 result = transfer_.pendingTransfers(msg, pending);
    if (result == TWRC_SUCCESS && msg != MSG_GET) {
        windows_.transferEnded();
    }
    return result;
}

}  // namespace vscan
