#include "scenario.h"

#include "platform_probe.h"
#include "session/lifecycle.h"
#include "session/session_thread.h"
#include "session/twain_session.h"

namespace {

std::string messageName(const Triplet& t) {
    struct Name {
        TW_UINT16 dat, msg;
        const char* text;
    };
    static const Name names[] = {
        {DAT_PARENT, MSG_OPENDSM, "MSG_OPENDSM"},
        {DAT_PARENT, MSG_CLOSEDSM, "MSG_CLOSEDSM"},
        {DAT_IDENTITY, MSG_OPENDS, "MSG_OPENDS"},
        {DAT_IDENTITY, MSG_CLOSEDS, "MSG_CLOSEDS"},
        {DAT_IDENTITY, MSG_USERSELECT, "MSG_USERSELECT"},
        {DAT_USERINTERFACE, MSG_ENABLEDS, "MSG_ENABLEDS"},
        {DAT_USERINTERFACE, MSG_DISABLEDS, "MSG_DISABLEDS"},
        {DAT_PENDINGXFERS, MSG_ENDXFER, "MSG_ENDXFER"},
        {DAT_PENDINGXFERS, MSG_RESET, "MSG_RESET"},
        {DAT_EVENT, MSG_PROCESSEVENT, "MSG_PROCESSEVENT"},
        {DAT_IMAGENATIVEXFER, MSG_GET, "MSG_GET(NATIVEXFER)"},
        {DAT_CAPABILITY, MSG_GETCURRENT, "MSG_GETCURRENT"},
        {DAT_CAPABILITY, MSG_SET, "MSG_SET(CAPABILITY)"},
        {DAT_IMAGELAYOUT, MSG_SET, "MSG_SET(IMAGELAYOUT)"},
    };
    for (const Name& n : names) {
        if (t.header.dat == n.dat && t.header.msg == n.msg) return n.text;
    }
    return "DAT " + std::to_string(t.header.dat) + " MSG " + std::to_string(t.header.msg);
}

// The session as the library is loaded: every field zero.
void resetSession() {
    TwainSession& s = twainSession;
    s.dsmModule = {};
    s.dsmEntry = nullptr;
    s.resultCode = 0;
    s.conditionCode = 0;
    s.state = kStateLoaded;
    s.showUserInterface = false;
    s.appIdentity = {};
    s.sourceIdentity = {};
    s.userInterface = {};
}

}  // namespace

void Scenario::SetUp() {
    vscan_powerCycle();
    vscan_reset();
    resetPlatform();
    resetSession();
    windowsBefore_ = liveWindows();
}

void Scenario::TearDown() {
    unregister();
    EXPECT_LE(twainSession.state, kStateManagerNotLoaded);
    EXPECT_EQ(liveGlobalHandles(), 0u) << "a global memory handle outlived the scenario";
    EXPECT_EQ(liveWindows(), windowsBefore_) << "a window outlived the scenario";
    resetPlatform();
}

std::vector<Triplet> Scenario::log() {
    std::vector<Triplet> entries;
    for (size_t i = 0; i < vscan_logSize(); ++i) {
        Triplet t{};
        vscan_logEntry(i, &t.header);
        t.data.resize(vscan_logData(i, nullptr, 0));
        vscan_logData(i, t.data.data(), t.data.size());
        t.origin.resize(vscan_logOrigin(i, nullptr, 0));
        vscan_logOrigin(i, t.origin.data(), t.origin.size());
        t.container.resize(vscan_logContainer(i, nullptr, 0));
        vscan_logContainer(i, t.container.data(), t.container.size());
        entries.push_back(std::move(t));
    }
    return entries;
}

std::vector<Triplet> Scenario::requests() {
    std::vector<Triplet> entries;
    for (Triplet& t : log()) {
        if (!t.isStatus()) entries.push_back(std::move(t));
    }
    return entries;
}

std::string Scenario::requestNames() {
    std::string names;
    for (const Triplet& t : requests()) {
        names += (names.empty() ? "" : ", ") + messageName(t);
    }
    return names;
}

bool registerDemo() { return openSourceManager(3, 10, "Maker", "Family", "Demo"); }

bool registerAsNative() {
    bool registered = false;
    runSessionCall("register", CallKind::Step, {kStateManagerNotLoaded, kStateManagerLoaded},
                   [&registered] { registered = registerDemo(); });
    return registered;
}
