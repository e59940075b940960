#include "session/acquisition.h"

#include "session/dsm_binding.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"

bool prepareTransfer() {
    TwainSession& s = twainSession;
    if (s.state == kStateSourceOpen &&
        dsmCall(&s.sourceIdentity, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &s.userInterface)) {
        // The source's own window stands in for the application's while it is enabled.
        EnableWindow(static_cast<HWND>(s.userInterface.hParent), FALSE);
        s.state = kStateSourceEnabled;
    }
    return s.state >= kStateSourceEnabled;
}

TW_HANDLE waitForImage() {
    TW_HANDLE image = {};
    MSG msg = {};
    // Tested before every retrieval: once an image is held or the source is disabled, no further
    // message is taken from the queue.
    while (twainSession.state >= kStateSourceEnabled && !image) {
        if (GetMessageA(&msg, {}, 0, 0) == 0) {
            break;  // WM_QUIT: consumed, not posted again
        }
        if (!processSourceEvent(msg, image)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return image;
}

bool processSourceEvent(MSG& msg, TW_HANDLE& image) {
    TwainSession& s = twainSession;
    if (s.state < kStateSourceEnabled) {
        return false;
    }
    TW_EVENT event = {&msg, MSG_NULL};
    dsmCall(&s.sourceIdentity, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    const bool consumed = s.resultCode == TWRC_DSEVENT;
    // The source's notification counts whatever the result code said.
    switch (event.TWMessage) {
        case MSG_XFERREADY:
            s.state = kStateTransferReady;
            image = transferNativeImage();
            if (!image) {
                disableSource();
            }
            break;
        case MSG_CLOSEDSREQ:
            disableSource();
            break;
        default:
            break;
    }
    return consumed;
}

TW_HANDLE transferNativeImage() {
    TwainSession& s = twainSession;
    TW_HANDLE image = {};
    if (!dsmCall(&s.sourceIdentity, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image)) {
        image = {};  // a failed transfer hands over nothing, whatever was written
    }
    s.state = (s.resultCode == TWRC_XFERDONE || s.resultCode == TWRC_CANCEL) ? kStateTransferring
                                                                             : kStateTransferReady;
    endTransfers();
    return image;
}
