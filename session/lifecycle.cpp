#include "session/lifecycle.h"

#include <cstdio>
#include <cstring>

#include "session/dsm_binding.h"
#include "session/identity_field.h"
#include "session/proxy_window.h"
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

}  // namespace

bool openSourceManager(int32_t versionMajor, int32_t versionMinor, const char* manufacturer,
                       const char* productFamily, const char* productName) {
    TwainSession& s = twainSession;
    loadSourceManager();
    if (s.state != kStateManagerLoaded) {
        return s.state >= kStateManagerOpen;
    }
    fillApplicationIdentity(versionMajor, versionMinor, manufacturer, productFamily, productName);
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
    if (dsmCall(&s.sourceIdentity, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS,
                &s.userInterface)) {
        s.state = kStateSourceOpen;
    }
    return s.state <= kStateSourceOpen;
}

bool closeSource() {
    TwainSession& s = twainSession;
    disableSource();
    if (s.state != kStateSourceOpen) {
        return s.state <= kStateManagerOpen;
    }
    if (dsmCall(nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &s.sourceIdentity)) {
        s.state = kStateManagerOpen;
    }
    return s.state <= kStateManagerOpen;
}

bool unregister() {
    TwainSession& s = twainSession;
    closeSource();
    if (s.state == kStateManagerOpen) {
        HWND parent = proxyWindow();
        if (dsmCall(nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent)) {
            s.state = kStateManagerLoaded;
            destroyProxyWindow();
            std::memset(&s.userInterface, 0, sizeof(s.userInterface));
        }
    }
    if (s.dsmModule) {
        // The manager that knew the window is released with the library, so the window goes too,
        // also when the teardown stopped short; the rest of userInterface stays as it was.
        destroyProxyWindow();
        FreeLibrary(s.dsmModule);
        s.dsmModule = {};
        s.dsmEntry = nullptr;
        s.state = kStateManagerNotLoaded;
    }
    return s.state <= kStateManagerNotLoaded;
}
