#include "session/acquisition.h"

#include "session/dsm_binding.h"
#include "session/lifecycle.h"
#include "session/proxy_window.h"
#include "session/refusal.h"
#include "session/rule_trace.h"
#include "session/session_thread.h"
#include "session/transfer_failure.h"
#include "session/twain_session.h"

namespace {

// The session decided to disable the source (it asked to be closed, or a transfer gave no image)
// and the source refused. It announces nothing more, so the next wait disables it first instead
// of waiting.
bool disablePending = false;

// The thread whose queue receives the source's events: the one that enabled it.
DWORD enablingThread = 0;

// What the wait under way ends at: the image taken, or the transfer announced and left in state 6
// for the caller, who may ask about the page first or cancel there.
enum class WaitFor { Image, Announcement };
WaitFor waitingFor = WaitFor::Image;

// The wait of both waitForImage and waitForTransferReady, ending as `waitingFor` asks.
TW_HANDLE pumpUntilDone();

bool announcementHeld() {
    return waitingFor == WaitFor::Announcement && twainSession.state == kStateTransferReady;
}

// The steps that must succeed before anything else can happen are tried once more when the source
// refuses them; a second refusal ends the wait with that step's codes.
bool endTransfersPersistently() {
    if (endTransfers()) {
        return true;
    }
    traceRule("the source refused to end the transfers; trying once more");
    if (endTransfers()) {
        return true;
    }
    traceRule("the source refused again: giving up, the next call ends the transfers first");
    return false;
}

void disableSourcePersistently() {
    if (disableSource()) {
        disablePending = false;
        return;
    }
    traceRule("the source refused to be disabled; trying once more");
    disablePending = !disableSource();
    if (disablePending) {
        traceRule("the source refused again: giving up, the next call disables it first");
    }
}

void refuseForeignThread() {
    twainSession.resultCode = TWRC_FAILURE;
    twainSession.conditionCode = TWCC_SEQERROR;
    recordRefusal("acquireImage", "only the thread that enabled the source receives its events");
}

// What an earlier call left unfinished is finished before waiting, since no source announces it
// again: a transfer still in state 7 is ended, a refused disable is tried again, and a transfer
// already announced (state 6) is taken at once. True when the wait may go on.
bool finishWhatWasLeft(TW_HANDLE& image) {
    TwainSession& s = twainSession;
    if (s.state == kStateTransferring) {
        traceRule("a transfer an earlier call left unended is ended first");
        if (!endTransfersPersistently()) {
            return false;
        }
    }
    if (disablePending && s.state >= kStateSourceEnabled) {
        traceRule("a disable the source refused before is tried again instead of waiting");
        disableSourcePersistently();
        return false;
    }
    if (announcementHeld()) {
        return false;
    }
    if (s.state == kStateTransferReady) {
        traceRule("a transfer announced before is taken without waiting");
        image = transferNativeImage();
        if (!image) {
            traceRule("the transfer gave no image: the source is disabled");
            disableSourcePersistently();
        }
        return false;
    }
    return true;
}

}  // namespace

bool prepareTransfer() {
    TwainSession& s = twainSession;
    if (s.state != kStateSourceOpen) {
        return s.state >= kStateSourceEnabled;
    }
    s.userInterface.ShowUI = s.showUserInterface ? 1 : 0;
    if (dsmCall(&s.sourceIdentity, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &s.userInterface)) {
        // The source's own window stands in for the application's while it is enabled.
        enableProxyWindow(false);
        s.state = kStateSourceEnabled;
        disablePending = false;
        enablingThread = GetCurrentThreadId();
        forgetPageWaitCancel();
        forgetTransferFailure();
    }
    return s.state >= kStateSourceEnabled;
}

TW_HANDLE acquireNextImage() {
    TW_HANDLE image = {};
    runSessionCall("acquireImage", CallKind::Wait, {kStateSourceEnabled, kStateTransferring},
                   [&image] { image = waitForImage(); });
    return image;
}

namespace {

TW_HANDLE pumpUntilDone() {
    TW_HANDLE image = {};
    if (twainSession.state < kStateSourceEnabled) {
        return image;
    }
    // The source's events go to this thread's queue; a thread that took the session over from one
    // that ended would wait for ever.
    if (GetCurrentThreadId() != enablingThread) {
        traceRule("refused: only the thread that enabled the source receives its events");
        refuseForeignThread();
        return image;
    }
    PageWait wait;
    if (!wait.serve() || !finishWhatWasLeft(image)) {
        return image;
    }
    MSG msg = {};
    // Tested before every retrieval: once an image is held, the source is disabled, a disable it
    // needs was refused, or a teardown or a cancel ended the wait, no further message is taken.
    while (wait.serve() && twainSession.state >= kStateSourceEnabled && !image && !disablePending &&
           !announcementHeld()) {
        const PageWait::Next next = wait.nextMessage(msg);
        if (next == PageWait::Next::Quit) {
            traceRule("WM_QUIT ends the wait; it is not posted again");
            break;  // consumed, not posted again
        }
        if (next == PageWait::Next::Message && !processSourceEvent(msg, image)) {
            wait.dispatch(msg);
        }
    }
    return image;
}

}  // namespace

TW_HANDLE waitForImage() {
    waitingFor = WaitFor::Image;
    return pumpUntilDone();
}

bool waitForTransferReady() {
    waitingFor = WaitFor::Announcement;
    const TW_HANDLE image = pumpUntilDone();
    waitingFor = WaitFor::Image;
    return !image && twainSession.state == kStateTransferReady;
}

bool processSourceEvent(MSG& msg, TW_HANDLE& image) {
    TwainSession& s = twainSession;
    if (s.state < kStateSourceEnabled) {
        return false;
    }
    TW_EVENT event = {&msg, MSG_NULL};
    const bool consumed = sendTriplet(&s.sourceIdentity, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT,
                                      &event) == TWRC_DSEVENT;
    // The source's notification counts whatever the result code said.
    switch (event.TWMessage) {
        case MSG_XFERREADY:
            s.state = kStateTransferReady;
            if (announcementHeld()) {
                break;
            }
            image = transferNativeImage();
            if (!image) {
                traceRule("the transfer gave no image: the source is disabled");
                disableSourcePersistently();
            }
            break;
        case MSG_CLOSEDSREQ:
            traceRule("the source asked to be closed: it is disabled");
            disableSourcePersistently();
            break;
        default:
            break;
    }
    return consumed;
}

// An image whose transfer cannot be ended is still handed over: the next wait ends the transfer
// before anything else.
TW_HANDLE transferNativeImage() {
    TwainSession& s = twainSession;
    TW_HANDLE image = {};
    const TW_UINT16 result =
        sendTriplet(&s.sourceIdentity, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &image);
    if (!inSuccessSet(result)) {
        image = {};  // a failed transfer hands over nothing, whatever was written
        recordTransferFailure(result, s.conditionCode);
    }
    s.state = (result == TWRC_XFERDONE || result == TWRC_CANCEL) ? kStateTransferring
                                                                 : kStateTransferReady;
    endTransfersPersistently();
    return image;
}
