// Long random sequences of calls from an application that does everything it may, against a
// source that refuses any triplet at any time. After every step: each result agrees with the
// state, the library never sent a triplet that the source had to refuse as out of sequence, and no
// acquisition waited for a page that could not come. After every session: no global memory handle
// and no window is left. The seed and the number of steps come from RANDOM_SESSIONS_SEED and
// RANDOM_SESSIONS_STEPS; a failure names the seed and the step.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "app_window.h"
#include "image/dib_layout.h"
#include "image/messages.h"
#include "platform_probe.h"
#include "scenario.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/session_thread.h"
#include "session/source_directory.h"
#include "session/twain_session.h"
#include "settings/capability_requests.h"
#include "twain_natives.h"
#include "wait_bound.h"

namespace {

using namespace std::chrono_literals;

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text ? std::strtoull(text, nullptr, 10) : fallback;
}

struct Fault {
    TW_UINT32 dg;
    TW_UINT16 dat;
    TW_UINT16 msg;
};

// Every triplet the library sends, each of which a source may refuse.
const Fault kFaults[] = {
    {DG_CONTROL, DAT_PARENT, MSG_OPENDSM},          {DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM},
    {DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT},     {DG_CONTROL, DAT_IDENTITY, MSG_OPENDS},
    {DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS},        {DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS},
    {DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS}, {DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT},
    {DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET},       {DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER},
    {DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET},      {DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST},
    {DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT},        {DG_CONTROL, DAT_CAPABILITY, MSG_GET},
    {DG_CONTROL, DAT_CAPABILITY, MSG_GETCURRENT},   {DG_CONTROL, DAT_CAPABILITY, MSG_QUERYSUPPORT},
    {DG_CONTROL, DAT_CAPABILITY, MSG_RESET},        {DG_CONTROL, DAT_CAPABILITY, MSG_SET},
    {DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET},           {DG_CONTROL, DAT_STATUS, MSG_GET},
};

// Nothing is ever posted in this range: a look at the queue with it only runs what other threads
// sent.
constexpr UINT kNoMessage = WM_APP + 0x3FFF;

// The triplets whose timing the library alone decides: the source must never find one of them out
// of sequence. Capability and layout requests go out whenever the application asks.
bool sequencedByTheLibrary(const VscanTriplet& t) {
    switch (t.dat) {
        case DAT_PARENT:
        case DAT_IDENTITY:
        case DAT_USERINTERFACE:
        case DAT_EVENT:
        case DAT_IMAGENATIVEXFER:
        case DAT_PENDINGXFERS:
            return true;
        default:
            return false;
    }
}

// A source's refusal as out of sequence that the library had to provoke: a source that announced a
// transfer on its own refuses to be disabled, and the library resets that transfer next (the reset
// itself may meet a scripted refusal); a source that refused a step of the teardown is still asked
// to close.
bool provokedRefusal(const VscanTriplet& request, const VscanTriplet* previous,
                     const VscanTriplet* next) {
    const bool announcedOnItsOwn = request.dat == DAT_USERINTERFACE &&
                                   request.msg == MSG_DISABLEDS && next != nullptr &&
                                   next->dat == DAT_PENDINGXFERS && next->msg == MSG_RESET;
    const bool closedAfterAFailedTeardown =
        request.dat == DAT_IDENTITY && request.msg == MSG_CLOSEDS && previous != nullptr &&
        previous->resultCode != TWRC_SUCCESS &&
        (previous->dat == DAT_USERINTERFACE || previous->dat == DAT_PENDINGXFERS);
    return announcedOnItsOwn || closedAfterAFailedTeardown;
}

std::string describe(const char* where, const VscanTriplet* triplet) {
    if (triplet == nullptr) {
        return "";
    }
    std::ostringstream text;
    text << where << "DAT " << triplet->dat << " MSG " << triplet->msg << " (result "
         << triplet->resultCode << ")";
    return text.str();
}

class RandomSessions : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        // A window of the application whose procedure takes the session down, as a toolkit's
        // does when another thread sends it WM_CLOSE.
        app_ = std::make_unique<AppWindow>();
        app_->on(WM_CLOSE, [] {
            if (!Java_QZ_korvel_twain_TwainEx_stopTransfer(nullptr, nullptr)) {
                Java_QZ_korvel_twain_TwainEx_unregister(nullptr, nullptr);
            }
        });
        windowsAtStart_ = liveWindows();
    }
    void TearDown() override {
        app_.reset();
        Scenario::TearDown();
    }

    const DWORD owner_ = GetCurrentThreadId();
    std::mt19937_64 random_;
    std::string where_;
    size_t windowsAtStart_ = 0;
    // An announcement may have been lost since the source was last enabled: a refused event
    // offer takes the message that carried it. Refusals stay scripted until the scanner is reset.
    bool announcementMayBeLost_ = false;
    bool eventRefusalScripted_ = false;
    long images_ = 0;
    long rescues_ = 0;
    long faults_ = 0;
    std::chrono::microseconds longestWaitAfterTeardown_{0};
    // From another thread's teardown call to its answer, the owner having carried it out.
    std::chrono::microseconds handOverTotal_{0};
    std::chrono::microseconds handOverLongest_{0};
    long handOvers_ = 0;
    long sentTeardowns_ = 0;
    long foreignCalls_ = 0;
    long keptSessions_ = 0;
    std::unique_ptr<AppWindow> app_;
    std::string detail_;
    std::deque<std::string> history_;

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    bool chance(int percent) { return pick(100) < percent; }
    static int32_t state() { return twainSession.state; }

    void step();
    void acquire();
    void acquireOnAnotherThread();
    void injectFault();
    void turnKnob();
    void openByName();
    void capabilityByNumber();
    void checkLog();
    void endSession();
};

// One acquisition on the owner thread. Another thread ends the wait as a user would cancel: at
// once when an announcement may have been lost, else only after long patience, which then
// counts as a failure.
void RandomSessions::acquire() {
    const int32_t before = state();
    const bool mayBeLost = announcementMayBeLost_;
    std::atomic<bool> done = false;
    std::atomic<bool> rescued = false;
    std::chrono::steady_clock::time_point tornDownAt;
    std::chrono::steady_clock::time_point answeredAt;
    // Now and then the teardown comes in a message sent to the owner's window, whose procedure
    // runs inside the wait's own look at the queue.
    const bool sent = chance(30);
    std::atomic<bool> rescuerDone = false;
    std::thread rescuer([&] {
        const auto deadline = std::chrono::steady_clock::now() + (mayBeLost ? 100ms : 3s);
        while (!done && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(1ms);
        }
        if (!done) {
            rescued = true;
            tornDownAt = std::chrono::steady_clock::now();
            if (sent) {
                SendMessageA(app_->handle(), WM_CLOSE, 0, 0);
            } else if (!Java_QZ_korvel_twain_TwainEx_stopTransfer(nullptr, nullptr)) {
                Java_QZ_korvel_twain_TwainEx_unregister(nullptr, nullptr);
            }
            answeredAt = std::chrono::steady_clock::now();
        }
        rescuerDone = true;
    });
    // Now and then another thread calls meanwhile, as an application's other threads do: carried
    // out by the owner while it waits, refused otherwise.
    std::thread caller;
    if (chance(20)) {
        ++foreignCalls_;
        const int call = pick(3);
        const bool visible = chance(70);
        caller = std::thread([call, visible] {
            switch (call) {
                case 0:
                    Java_QZ_korvel_twain_TwainEx_getXResolution(nullptr, nullptr);
                    break;
                case 1:
                    Java_QZ_korvel_twain_TwainEx_setVisible(nullptr, nullptr, visible);
                    break;
                default:
                    Java_QZ_korvel_twain_TwainEx_isFeederLoaded(nullptr, nullptr);
                    break;
            }
        });
    }
    TW_HANDLE image = {};
    bool exceeded = false;
    {
        WaitBound bound(10s);
        image = acquireNextImage();
        exceeded = bound.exceeded();
    }
    const auto returnedAt = std::chrono::steady_clock::now();
    done = true;
    // A message the rescuer sent just as the wait ended is taken here.
    while (!rescuerDone) {
        MSG msg;
        PeekMessageA(&msg, {}, kNoMessage, kNoMessage, PM_NOREMOVE);
        std::this_thread::yield();
    }
    rescuer.join();
    if (caller.joinable()) {
        caller.join();
    }
    if (rescued) {
        // From the start of the teardown; a wait that ended on its own just before counts 0.
        longestWaitAfterTeardown_ = std::max(
            longestWaitAfterTeardown_,
            std::chrono::duration_cast<std::chrono::microseconds>(returnedAt - tornDownAt));
        const auto handOver =
            std::chrono::duration_cast<std::chrono::microseconds>(answeredAt - tornDownAt);
        ++handOvers_;
        sentTeardowns_ += sent ? 1 : 0;
        handOverTotal_ += handOver;
        handOverLongest_ = std::max(handOverLongest_, handOver);
    }
    ASSERT_FALSE(exceeded) << where_ << ": the wait went on after the session was torn down";
    if (rescued) {
        ++rescues_;
        ASSERT_TRUE(mayBeLost) << where_
                               << ": waited 3 s for a page although no announcement was lost "
                                  "(state "
                               << before << ")";
    }
    if (before < kStateSourceEnabled) {
        EXPECT_FALSE(image) << where_;
    }
    if (!image) {
        return;
    }
    ++images_;
    const void* dib = GlobalLock(image);
    if (dib != nullptr) {
        try {
            const DibLayout layout = decodeDibLayout(dib, GlobalSize(image));
            EXPECT_GT(layout.rowCount, 0u) << where_;
        } catch (const MessageFailure& failure) {
            ADD_FAILURE() << where_ << ": the source's page was refused: " << failure.text;
        }
        GlobalUnlock(image);
    }
    GlobalFree(image);
}

void RandomSessions::acquireOnAnotherThread() {
    const int32_t before = state();
    const size_t logBefore = vscan_logSize();
    TW_HANDLE image = {};
    bool exceeded = false;
    std::thread other([&] {
        WaitBound bound(5s);
        image = acquireNextImage();
        exceeded = bound.exceeded();
    });
    other.join();
    EXPECT_FALSE(exceeded) << where_;
    EXPECT_FALSE(image) << where_;
    EXPECT_EQ(vscan_logSize(), logBefore) << where_ << ": nothing is sent for another thread";
    if (before >= kStateSourceEnabled) {
        EXPECT_EQ(twainSession.conditionCode, TWCC_SEQERROR) << where_;
    }
}

void RandomSessions::injectFault() {
    const Fault& fault = kFaults[pick(std::size(kFaults))];
    const TW_UINT16 results[] = {TWRC_FAILURE, TWRC_FAILURE, TWRC_CANCEL};
    const TW_UINT16 conditions[] = {TWCC_BUMMER, TWCC_OPERATIONERROR, TWCC_LOWMEMORY, 0x8001};
    const TW_UINT16 result = results[pick(3)];
    const int times = 1 + pick(3);
    vscan_script(fault.dg, fault.dat, fault.msg, result, conditions[pick(4)], times);
    std::ostringstream detail;
    detail << " DAT " << fault.dat << " MSG " << fault.msg << " answers " << result << " x"
           << times;
    detail_ = detail.str();
    if (fault.dat == DAT_EVENT) {
        announcementMayBeLost_ = true;
        eventRefusalScripted_ = true;
    }
    ++faults_;
}

// Lists the sources and opens one of them by its identity, as an application that names its
// scanner does; the answer follows the rules of openSource.
void RandomSessions::openByName() {
    std::vector<TW_IDENTITY> sources;
    bool listed = false;
    runSessionCall("listSources", CallKind::Step, {kStateManagerOpen, kStateTransferring},
                   [&] { listed = listSources(sources); });
    if (!listed || sources.empty()) {
        return;
    }
    const TW_IDENTITY wanted = sources[pick(static_cast<int>(sources.size()))];
    detail_ = std::string(" by name: ") + wanted.ProductName;
    bool opened = false;
    runSessionCall("openSourceAs", CallKind::Step, {kStateManagerOpen, kStateManagerOpen},
                   [&] { opened = openSourceAs(wanted); });
    EXPECT_EQ(opened, state() >= kStateSourceOpen) << where_;
}

// A capability read by number or a set with a list, in whatever state the session is; the state
// never moves for it.
void RandomSessions::capabilityByNumber() {
    static const TW_UINT16 kReads[] = {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_RESET,
                                       MSG_QUERYSUPPORT};
    static const TW_UINT16 kCapabilities[] = {ICAP_PIXELTYPE, ICAP_XRESOLUTION, CAP_DUPLEXENABLED,
                                              CAP_AUTHOR,     ICAP_FRAMES,      0x8765};
    const int32_t before = state();
    const TW_UINT16 capability = kCapabilities[pick(std::size(kCapabilities))];
    if (chance(70)) {
        const TW_UINT16 msg = kReads[pick(std::size(kReads))];
        runSessionCall("readCapability", CallKind::Step, {kStateSourceOpen, kStateTransferring},
                       [&] { readCapability(capability, msg); });
    } else {
        CapabilityContainer types;
        types.conType = TWON_ENUMERATION;
        types.itemType = TWTY_UINT16;
        types.numbers.resize(1 + pick(3));
        for (std::size_t i = 0; i < types.numbers.size(); ++i) {
            types.numbers[i] = static_cast<std::int64_t>(i);
        }
        types.currentIndex =
            static_cast<std::uint32_t>(pick(static_cast<int>(types.numbers.size())));
        const LaidContainer laid = layContainer(types);
        runSessionCall("setCapability", CallKind::Step, {kStateSourceOpen, kStateTransferring},
                       [&] { setCapability(ICAP_PIXELTYPE, TWON_ENUMERATION, laid.bytes); });
    }
    EXPECT_EQ(state(), before) << where_;
}

void RandomSessions::turnKnob() {
    const int knob = pick(11);
    std::ostringstream detail;
    detail << " " << knob;
    detail_ = detail.str();
    switch (knob) {
        case 0:
            vscan_setKnob("source.close_request", pick(4) == 0 ? 1 : 0);
            break;
        case 1:
            // The notification counts whatever result code comes with it.
            vscan_setKnob("event.result", chance(50) ? TWRC_DSEVENT : TWRC_NOTDSEVENT);
            break;
        case 2:
            vscan_setKnob("page.delay_ms", pick(4));
            break;
        case 3:
            vscan_setKnob("ui.scans", 1 + pick(3));
            break;
        case 4:
            vscan_setKnob("transfer.bad_handle", pick(10) == 0 ? 1 : 0);
            break;
        case 5:
            vscan_setKnob("feeder.sheets", pick(6));
            break;
        case 6: {
            // What real drivers do with windows and threads, each on or off.
            static const char* const kDriverKnobs[] = {
                "ui.dialog",        "ui.modal",       "ui.progress",   "ui.disable_parent",
                "ui.send_messages", "manager.dialog", "threads.strict"};
            const char* name = kDriverKnobs[pick(std::size(kDriverKnobs))];
            const int value = pick(2);
            vscan_setKnob(name, value);
            detail << " " << name << "=" << value;
            detail_ = detail.str();
        } break;
        case 7:
            vscan_setKnob("ui.manual", 0);  // a user who never presses would leave a modal loop
            break;
        case 9:
            // A source that announces its page inside MSG_ENABLEDS, in state 6 from then on.
            vscan_setKnob("enable.announce", pick(2));
            break;
        case 8: {
            // Containers as badly made as drivers make them.
            static const char* const kContainerKnobs[] = {
                "ICAP_PIXELTYPE.numItems",  "ICAP_PIXELTYPE.currentIndex",
                "ICAP_XRESOLUTION.step",    "CAP_AUTHOR.unterminated",
                "ICAP_PIXELTYPE.blockSize", "ICAP_XRESOLUTION.itemType"};
            const char* name = kContainerKnobs[pick(std::size(kContainerKnobs))];
            const int value = pick(3) == 0 ? 0 : 1 + pick(1000);
            vscan_setKnob(name, value);
            detail << " " << name << "=" << value;
            detail_ = detail.str();
        } break;
        default:
            // Forgets scripts and knobs alike.
            vscan_reset();
            eventRefusalScripted_ = false;
            break;
    }
}

// No triplet whose timing the library decides was refused by the source as out of sequence.
void RandomSessions::checkLog() {
    const size_t size = vscan_logSize();
    for (size_t i = 0; i < size; ++i) {
        VscanTriplet entry{};
        vscan_logEntry(i, &entry);
        EXPECT_EQ(entry.thread, owner_) << where_ << ": DAT " << entry.dat << " MSG " << entry.msg
                                        << " was sent from another thread";
    }
    std::vector<VscanTriplet> requests;
    std::vector<TW_UINT16> conditions;
    for (size_t i = 0; i < size; ++i) {
        VscanTriplet entry{};
        vscan_logEntry(i, &entry);
        if (entry.dat != DAT_STATUS) {
            requests.push_back(entry);
            conditions.push_back(0);
        } else if (!requests.empty() && conditions.back() == 0) {
            conditions.back() = entry.statusCondition;
        }
    }
    for (size_t i = 0; i < requests.size(); ++i) {
        const VscanTriplet& request = requests[i];
        if (request.resultCode != TWRC_FAILURE || conditions[i] != TWCC_SEQERROR ||
            !sequencedByTheLibrary(request)) {
            continue;
        }
        const VscanTriplet* previous = i > 0 ? &requests[i - 1] : nullptr;
        const VscanTriplet* next = i + 1 < requests.size() ? &requests[i + 1] : nullptr;
        EXPECT_TRUE(provokedRefusal(request, previous, next))
            << where_ << ": DAT " << request.dat << " MSG " << request.msg
            << " was sent out of sequence" << describe(" after ", previous)
            << describe(", before ", next) << "; the source is in state " << vscan_sourceState();
    }
    vscan_clearLog();
}

// After unregister nothing of the session may be left; the device is switched off and on, as a
// manager that was released with the library would be.
// A manager that refuses to close while its source refuses to go keeps the session, which says
// where it is; the scripted refusals run out, and a later unregister takes it down.
void RandomSessions::endSession() {
    bool down = false;
    for (int attempt = 0; attempt < 10 && !down; ++attempt) {
        down = Java_QZ_korvel_twain_TwainEx_unregister(nullptr, nullptr);
        if (!down) {
            ++keptSessions_;
            EXPECT_GE(state(), kStateSourceOpen) << where_;
            EXPECT_EQ(vscan_managerState(), 3) << where_;
            EXPECT_NE(vscan_sourceState(), 0) << where_ << ": the session kept a closed source";
        }
    }
    EXPECT_TRUE(down) << where_;
    EXPECT_LE(state(), kStateManagerNotLoaded) << where_;
    vscan_powerCycle();
    EXPECT_EQ(liveGlobalHandles(), 0u) << where_ << ": a global memory handle leaked";
    EXPECT_EQ(liveWindows(), windowsAtStart_) << where_ << ": a window leaked";
}

void RandomSessions::step() {
    const int32_t before = state();
    static const char* const kNames[] = {"register",        "register",
                                         "selectSource",    "openSource",
                                         "openSource",      "prepareTransfer",
                                         "prepareTransfer", "acquire",
                                         "acquire",         "acquire",
                                         "acquire",         "acquire on another thread",
                                         "stopTransfer",    "closeSource",
                                         "unregister",      "setVisible",
                                         "capability",      "frame",
                                         "fault",           "fault",
                                         "fault",           "knob"};
    // Half the steps go forward from where the session is, so that most sequences reach the
    // acquisition; the others are any call at all.
    static const int kForward[] = {0, 0, 0, 3, 5, 7, 7, 7};
    const int op = chance(50) ? kForward[std::clamp(before, 0, 7)] : pick(std::size(kNames));
    detail_.clear();
    switch (op) {
        case 0:
        case 1: {
            const bool registered = registerAsNative();
            EXPECT_EQ(registered, state() >= kStateManagerOpen) << where_;
            break;
        }
        case 2: {
            const size_t logBefore = vscan_logSize();
            const bool selected = Java_QZ_korvel_twain_TwainEx_selectSource(nullptr, nullptr);
            if (before != kStateManagerOpen) {
                EXPECT_FALSE(selected) << where_;
                EXPECT_EQ(vscan_logSize(), logBefore) << where_;
            }
            break;
        }
        case 3:
        case 4: {
            if (chance(30)) {
                openByName();
            }
            const bool result = Java_QZ_korvel_twain_TwainEx_openSource(nullptr, nullptr) != 0;
            EXPECT_EQ(result, state() >= kStateSourceOpen) << where_;
            // Small pages keep the run short; the steps may still change them.
            if (before == kStateManagerOpen && result) {
                Java_QZ_korvel_twain_TwainEx_setXResolution(nullptr, nullptr, 75.0);
                Java_QZ_korvel_twain_TwainEx_setFrame(nullptr, nullptr, 0, 0, 1, 1);
            }
        } break;
        case 5:
        case 6: {
            const bool result = Java_QZ_korvel_twain_TwainEx_prepareTransfer(nullptr, nullptr) != 0;
            EXPECT_EQ(result, state() >= kStateSourceEnabled) << where_;
        }
            if (before == kStateSourceOpen && state() == kStateSourceEnabled) {
                announcementMayBeLost_ = eventRefusalScripted_;
            }
            break;
        case 7:
        case 8:
        case 9:
        case 10:
            acquire();
            break;
        case 11:
            acquireOnAnotherThread();
            break;
        case 12: {
            const bool result = Java_QZ_korvel_twain_TwainEx_stopTransfer(nullptr, nullptr) != 0;
            EXPECT_EQ(result, state() <= kStateSourceOpen) << where_;
        } break;
        case 13: {
            const bool result = Java_QZ_korvel_twain_TwainEx_closeSource(nullptr, nullptr) != 0;
            EXPECT_EQ(result, state() <= kStateManagerOpen) << where_;
        } break;
        case 14:
            endSession();
            break;
        case 15:
            Java_QZ_korvel_twain_TwainEx_setVisible(nullptr, nullptr, chance(70));
            break;
        case 16:
            if (chance(30)) {
                capabilityByNumber();
                break;
            }
            switch (pick(5)) {
                case 0:
                    Java_QZ_korvel_twain_TwainEx_setXResolution(nullptr, nullptr,
                                                                75.0 * (1 + pick(8)));
                    break;
                case 1:
                    Java_QZ_korvel_twain_TwainEx_setPixelType(nullptr, nullptr,
                                                              static_cast<jshort>(pick(3)));
                    break;
                case 2:
                    Java_QZ_korvel_twain_TwainEx_setFeederEnabled(nullptr, nullptr, chance(50));
                    break;
                case 3:
                    Java_QZ_korvel_twain_TwainEx_setTransferCount(nullptr, nullptr,
                                                                  chance(50) ? -1 : 1 + pick(3));
                    break;
                default:
                    Java_QZ_korvel_twain_TwainEx_feedPage(nullptr, nullptr);
                    break;
            }
            break;
        case 17:
            Java_QZ_korvel_twain_TwainEx_getXResolution(nullptr, nullptr);
            Java_QZ_korvel_twain_TwainEx_setFrame(nullptr, nullptr, pick(2), pick(2), 1 + pick(2),
                                                  1 + pick(2));
            break;
        case 18:
        case 19:
        case 20:
            injectFault();
            break;
        default:
            turnKnob();
            break;
    }
    EXPECT_GE(state(), kStateLoaded) << where_;
    EXPECT_LE(state(), kStateTransferring) << where_;
    // The session says a source is open exactly when one is.
    EXPECT_EQ(state() >= kStateSourceOpen, vscan_sourceState() != 0)
        << where_ << ": state " << state() << ", the source's " << vscan_sourceState();
    // A session that the library released leaves the manager as the process's end would.
    if (state() <= kStateManagerNotLoaded && vscan_managerState() == 3) {
        vscan_powerCycle();
    }
    checkLog();
    std::ostringstream entry;
    entry << kNames[op] << detail_ << ": state " << before << " -> " << state();
    history_.push_back(entry.str());
    if (history_.size() > 30) {
        history_.pop_front();
    }
}

TEST_F(RandomSessions, NoSequenceCrashesHangsOrLeaks) {
    const std::uint64_t seed = fromEnvironment("RANDOM_SESSIONS_SEED", 20261209);
    const std::uint64_t steps = fromEnvironment("RANDOM_SESSIONS_STEPS", 3000);
    random_.seed(seed);
    std::uint64_t i = 0;
    for (; i < steps && !HasFailure(); ++i) {
        std::ostringstream where;
        where << "seed " << seed << ", step " << i;
        where_ = where.str();
        step();
    }
    if (HasFailure()) {
        std::string recent;
        for (const std::string& entry : history_) {
            recent.append("  ").append(entry).append("\n");
        }
        ADD_FAILURE() << "the last steps:\n" << recent;
    }
    endSession();
    std::printf(
        "seed %llu: %llu steps, %ld images, %ld faults injected, %ld waits ended from "
        "another thread, the longest %lld us after the teardown; %ld teardowns from another "
        "thread carried out by the owner in %lld us on average, %lld us at most, %ld of them "
        "in a message sent to its window; %ld calls made from another thread during a wait; %ld "
        "unregisters that kept a manager holding an open source\n",
        static_cast<unsigned long long>(seed), static_cast<unsigned long long>(i), images_, faults_,
        rescues_, static_cast<long long>(longestWaitAfterTeardown_.count()), handOvers_,
        static_cast<long long>(handOvers_ ? handOverTotal_.count() / handOvers_ : 0),
        static_cast<long long>(handOverLongest_.count()), sentTeardowns_, foreignCalls_,
        keptSessions_);
}

}  // namespace
