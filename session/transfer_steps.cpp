#include "session/transfer_steps.h"

#include <windows.h>

#include "session/dsm_binding.h"
#include "session/twain_session.h"

bool readImageInfo(TW_IMAGEINFO& info) {
    TwainSession& s = twainSession;
    return s.state >= kStateTransferReady &&
           dsmCall(&s.sourceIdentity, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
}

bool transferWithoutEnding() {
    TwainSession& s = twainSession;
    if (s.state != kStateTransferReady) {
        return false;
    }
    TW_HANDLE image = {};
    const TW_UINT16 result =
        sendTriplet(&s.sourceIdentity, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image);
    if (result == TWRC_XFERDONE) {
        GlobalFree(image);  // the page itself is not wanted, only the state it leaves
    }
    if (result == TWRC_XFERDONE || result == TWRC_CANCEL) {
        s.state = kStateTransferring;
    }
    return s.state == kStateTransferring;
}

std::optional<TW_UINT16> endTransfer() {
    TwainSession& s = twainSession;
    TW_PENDINGXFERS pending = {};
    if (s.state != kStateTransferring ||
        !dsmCall(&s.sourceIdentity, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending)) {
        return std::nullopt;
    }
    // 0xFFFF (more follow, number unknown) counts as pending too.
    s.state = pending.Count != 0 ? kStateTransferReady : kStateSourceEnabled;
    return pending.Count;
}
