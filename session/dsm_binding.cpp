#include "session/dsm_binding.h"

#include "session/manager_path.h"
#include "session/session_thread.h"
#include "session/twain_session.h"
#include "trace/trace.h"
#include "trace/triplet_trace.h"

namespace {

// The triplet and the request for its condition code.
TripletAnswer sendWithStatus(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                             TW_MEMREF data) {
    TwainSession& s = twainSession;
    TripletAnswer answer = {s.dsmEntry(&s.appIdentity, destination, dg, dat, msg, data), false, 0};
    s.resultCode = answer.resultCode;

    // The state is still the one the triplet was sent in: callers move it only afterwards.
    pTW_IDENTITY statusTarget = nullptr;
    bool askStatus = false;
    if (s.state >= kStateSourceOpen) {
        statusTarget = &s.sourceIdentity;
        askStatus = true;
    } else if (s.state == kStateManagerOpen) {
        askStatus = true;
    }
    if (askStatus) {
        TW_STATUS status = {};
        if (s.dsmEntry(&s.appIdentity, statusTarget, DG_CONTROL, DAT_STATUS, MSG_GET, &status) ==
            TWRC_SUCCESS) {
            s.conditionCode = status.ConditionCode;
            answer.conditionKnown = true;
            answer.conditionCode = status.ConditionCode;
        }
    }
    return answer;
}

}  // namespace

bool loadSourceManager() {
    TwainSession& s = twainSession;
    if (s.state > kStateManagerNotLoaded) {
        return true;
    }
    s.state = kStateManagerNotLoaded;
    char path[kManagerPathSize] = {};
    for (int candidate = 0; !s.dsmModule && managerPath(candidate, path); ++candidate) {
        s.dsmModule = LoadLibraryA(path);
        if (traceOn()) {
            traceEvent(std::string("manager ") + path +
                       (s.dsmModule
                            ? " loaded"
                            : " cannot be loaded (error " + std::to_string(GetLastError()) + ")"));
        }
    }
    if (!s.dsmModule) {
        return false;
    }
    // A void(void) function pointer is the agreed way between two unrelated function types.
    s.dsmEntry = reinterpret_cast<DSMENTRYPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(s.dsmModule, "DSM_Entry")));
    if (s.dsmEntry) {
        s.state = kStateManagerLoaded;
    } else {
        if (traceOn()) {
            traceEvent(std::string("manager ") + path + " exports no DSM_Entry; released");
        }
        FreeLibrary(s.dsmModule);
        s.dsmModule = {};
    }
    return s.state >= kStateManagerLoaded;
}

bool inSuccessSet(TW_UINT16 resultCode) {
    return resultCode == TWRC_SUCCESS || resultCode == TWRC_CHECKSTATUS ||
           resultCode == TWRC_XFERDONE;
}

bool dsmCall(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    return inSuccessSet(sendTriplet(destination, dg, dat, msg, data));
}

TW_UINT16 sendTriplet(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                      TW_MEMREF data) {
    return askTriplet(destination, dg, dat, msg, data).resultCode;
}

TripletAnswer askTriplet(pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                         TW_MEMREF data) {
    TwainSession& s = twainSession;
    s.resultCode = TWRC_FAILURE;
    s.conditionCode = TWCC_BUMMER;
    if (s.state < kStateManagerLoaded) {
        return {TWRC_FAILURE, false, 0};
    }
    // A window procedure or a modal loop that runs inside the triplet and calls back is refused
    // what would need the manager or the source again.
    const TripletScope inTriplet;
    if (!traceOn()) {
        return sendWithStatus(destination, dg, dat, msg, data);
    }
    TracedTriplet traced(s.state, destination, dg, dat, msg, data);
    const TripletAnswer answer = sendWithStatus(destination, dg, dat, msg, data);
    traced.answered(answer.resultCode, answer.conditionKnown, answer.conditionCode);
    return answer;
}
