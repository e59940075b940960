#include "session/lifecycle.h"

#include <cstdio>
#include <cstring>

#include "session/dsm_binding.h"
#include "session/identity_field.h"
#include "session/proxy_window.h"
#include "session/rule_trace.h"
#include "session/twain_session.h"
#include "trace/identity_text.h"
#include "trace/trace.h"

namespace {

constexpr TW_UINT16 kProtocolMajor = 1;
constexpr TW_UINT16 kProtocolMinor = 7;
constexpr TW_UINT32 kSupportedGroups = DG_CONTROL | DG_IMAGE;

void fillApplicationIdentity(int32_t versionMajor, int32_t versionMinor, const char* manufacturer,
                             const char* productFamily, const char* productName) {
    TW_IDENTITY& id = twainSession.appIdentity;
    id.Id = 0;
    id.ProtocolMajor = kProtocolMajor;
    id.ProtocolMinor = kProtocolMinor;
    id.SupportedGroups = kSupportedGroups;
    id.Version.MajorNum = static_cast<TW_UINT16>(versionMajor);
    id.Version.MinorNum = static_cast<TW_UINT16>(versionMinor);
    id.Version.Language = TWLG_USA;
    id.Version.Country = TWCY_USA;
    std::memset(id.Version.Info, 0, sizeof(id.Version.Info));
    std::snprintf(id.Version.Info, sizeof(id.Version.Info), "%s %i.%i", productName,
                  static_cast<int>(versionMajor), static_cast<int>(versionMinor));
    copyField(id.Manufacturer, manufacturer);
    copyField(id.ProductFamily, productFamily);
    copyField(id.ProductName, productName);
}

TripletAnswer sendDisable() {
    TwainSession& s = twainSession;
    return askTriplet(&s.sourceIdentity, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS,
                      &s.userInterface);
}

// A source that announced a transfer on its own (many announce inside MSG_ENABLEDS) is in state 6
// while the session, which has not taken the notice, believes 5, and it rightly refuses to be
// disabled. The transfer it announced is reset, as from state 6. True when the source took it.
bool resetAnnouncedTransfer() {
    traceRule(
        "the source refused to be disabled as out of sequence: the transfer it announced "
        "is reset first");
    TW_PENDINGXFERS pending = {};
    return dsmCall(&twainSession.sourceIdentity, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
}

}  // namespace

bool openSourceManager(int32_t versionMajor, int32_t versionMinor, const char* manufacturer,
                       const char* productFamily, const char* productName) {
    TwainSession& s = twainSession;
    loadSourceManager();
    if (s.state != kStateManagerLoaded) {
        return s.state >= kStateManagerOpen;
    }
    fillApplicationIdentity(versionMajor, versionMinor, manufacturer, productFamily, productName);
    s.showUserInterface = true;
    s.userInterface.ShowUI = 1;
    s.userInterface.ModalUI = 1;
    s.userInterface.hParent = createProxyWindow();
    HWND parent = proxyWindow();
    if (dsmCall(nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent)) {
        s.state = kStateManagerOpen;
    } else {
        // No manager holds the window; the next register makes a new one.
        destroyProxyWindow();
    }
    return s.state >= kStateManagerOpen;
}

bool selectSource() {
    TwainSession& s = twainSession;
    if (s.state != kStateManagerOpen) {
        return false;
    }
    return dsmCall(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &s.sourceIdentity);
}

bool openSource() {
    TW_IDENTITY defaultSource;
    std::memset(&defaultSource, 0, sizeof(defaultSource));
    return openSourceAs(defaultSource);
}

bool openSourceAs(const TW_IDENTITY& identity) {
    TwainSession& s = twainSession;
    if (s.state != kStateManagerOpen) {
        return s.state >= kStateSourceOpen;
    }
    s.sourceIdentity = identity;
    if (dsmCall(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &s.sourceIdentity)) {
        s.state = kStateSourceOpen;
        if (traceOn()) {
            traceEvent("source opened: " + describeIdentity(s.sourceIdentity));
        }
    }
    return s.state >= kStateSourceOpen;
}

bool endTransfers() {
    TwainSession& s = twainSession;
    TW_PENDINGXFERS pending = {};
    if (s.state == kStateTransferring) {
        if (dsmCall(&s.sourceIdentity, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending)) {
            // 0xFFFF (more follow, number unknown) counts as pending too.
            s.state = pending.Count != 0 ? kStateTransferReady : kStateSourceEnabled;
        }
    }
    if (s.state == kStateTransferReady) {
        if (dsmCall(&s.sourceIdentity, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending)) {
            s.state = kStateSourceEnabled;
        }
    }
    return s.state <= kStateSourceEnabled;
}

bool disableSource() {
    TwainSession& s = twainSession;
    endTransfers();
    if (s.state != kStateSourceEnabled) {
        return s.state <= kStateSourceOpen;
    }
    enableProxyWindow(true);
    TripletAnswer answer = sendDisable();
    if (answer.outOfSequence() && resetAnnouncedTransfer()) {
        answer = sendDisable();
    }
    if (answer.succeeded()) {
        s.state = kStateSourceOpen;
    }
    return s.state <= kStateSourceOpen;
}

// A source that could not be disabled is still asked to close: many sources and managers close it
// from any state, and one that refuses stays open, as the state then says.
bool closeSource() {
    TwainSession& s = twainSession;
    if (!disableSource()) {
        traceRule("the source could not be disabled; it is asked to close all the same");
    }
    if (s.state < kStateSourceOpen) {
        return true;
    }
    if (dsmCall(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &s.sourceIdentity)) {
        // Closed from a state in which the window was still the source's.
        enableProxyWindow(true);
        s.state = kStateManagerOpen;
    }
    return s.state <= kStateManagerOpen;
}

// A source that refused to close is left to the manager's MSG_CLOSEDSM, which some managers take
// and close it with. When the manager refuses that too, the source is still open in it: the
// session keeps the manager and says where it is, rather than claim state 1 while the manager
// holds the source (the next openSource or register would find it). A later unregister tries
// again. With no source left, a refused MSG_CLOSEDSM still releases the manager: nothing of the
// application's is left in it, and there is no other way down.
bool unregister() {
    TwainSession& s = twainSession;
    closeSource();
    if (s.state >= kStateManagerOpen) {
        HWND parent = proxyWindow();
        if (dsmCall(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent)) {
            s.state = kStateManagerLoaded;
            destroyProxyWindow();
            std::memset(&s.userInterface, 0, sizeof(s.userInterface));
            s.showUserInterface = false;
        } else if (s.state >= kStateSourceOpen) {
            traceRule("the manager refused to close with a source open: it is kept");
            return false;
        }
    }
    if (s.dsmModule) {
        // The manager that knew the window is released with the library, so the window goes too,
        // also when the manager refused to close; the rest of userInterface stays as it was.
        destroyProxyWindow();
        FreeLibrary(s.dsmModule);
        s.dsmModule = {};
        s.dsmEntry = nullptr;
        s.state = kStateManagerNotLoaded;
    }
    return s.state <= kStateManagerNotLoaded;
}
