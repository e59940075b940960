#include "session/session_thread.h"

#include <string>
#include <utility>

#include "session/refusal.h"
#include "session/twain_session.h"
#include "trace/trace.h"

namespace {

enum class Phase {
    Idle,       // outside the session
    Running,    // inside a call, between triplets
    InTriplet,  // inside DSM_Entry: the manager or the source runs
    Waiting,    // in the wait for a page, taking or dispatching a message
};

// What the calling thread is doing in the session.
thread_local Phase phase = Phase::Idle;

// A call of another thread, waiting on that thread's stack until the owner has run it.
struct HandOver {
    const char* name;
    DWORD caller;
    const std::function<void()>* work;
    bool endsWait;
    bool done;
    bool failed;
    HandOver* next;
};

// What the threads know of each other, guarded by `gate`. The gate is held only for moments,
// never while a call runs, a thread waits for messages or a triplet is under way.
SRWLOCK gate = SRWLOCK_INIT;
CONDITION_VARIABLE changed = CONDITION_VARIABLE_INIT;
DWORD owner = 0;
HANDLE ownerHandle = {};  // signalled once the owner has ended
DWORD runner = 0;         // the thread running a call of the session now
bool ownerWaits = false;
// Set to wake the owner's wait: an event, which no modal loop of another's can take from the
// owner's queue the way it would take a message.
HANDLE wakeUp = {};
bool waitEnded = false;
bool cancelNextWait = false;
HandOver* firstHandOver = nullptr;
HandOver* lastHandOver = nullptr;

class Gate {
  public:
    Gate() { open(); }
    ~Gate() { close(); }
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;

    void open() { AcquireSRWLockExclusive(&gate); }
    void close() { ReleaseSRWLockExclusive(&gate); }
    // Lets go of the gate until another thread announces a change.
    void awaitChange() { SleepConditionVariableSRW(&changed, &gate, INFINITE, 0); }
};

void announceChange() { WakeAllConditionVariable(&changed); }

void append(std::string& line, const char* piece) { line += piece; }
void append(std::string& line, const std::string& piece) { line += piece; }
void append(std::string& line, DWORD number) { line += std::to_string(number); }

// A line of the trace. A line that cannot be made is left out: tracing never stops a call, nor
// leaves another thread's caller waiting.
template <class... Pieces>
void traceLine(const Pieces&... pieces) noexcept {
    if (!traceOn()) {
        return;
    }
    try {
        std::string line;
        (append(line, pieces), ...);
        traceEvent(line);
    } catch (...) {
    }
}

void refuse(const char* name, const std::string& why) noexcept {
    twainSession.resultCode = TWRC_FAILURE;
    twainSession.conditionCode = TWCC_SEQERROR;
    recordRefusal(name, why);
    traceLine("refused ", name, ": ", why);
}

// Runs the work of a call that is carried out. Whatever it throws ends here: the frame above may be
// the VM's, or the owner's wait, on which another thread's caller depends.
bool runGuarded(const char* name, const std::function<void()>& work) noexcept {
    try {
        work();
        return true;
    } catch (...) {
    }
    twainSession.resultCode = TWRC_FAILURE;
    twainSession.conditionCode = TWCC_BUMMER;
    traceLine(name, " failed inside the library: it threw");
    return false;
}

// The line of a triplet the thread sent goes to the trace before the thread waits or leaves.
void traceWhatWasSent() {
    if (traceOn()) {
        writeHeldLine();
    }
}

void takeOwnership(DWORD thread) {
    owner = thread;
    ownerHandle = OpenThread(SYNCHRONIZE, FALSE, thread);
}

void claimOwnershipOfAnOpenManager(DWORD thread) {
    if (owner == 0 && twainSession.state >= kStateManagerOpen) {
        takeOwnership(thread);
    }
}

void releaseOwnership() {
    if (ownerHandle) {
        CloseHandle(ownerHandle);
    }
    ownerHandle = {};
    owner = 0;
}

// The session has an owner only while the manager is open. An owner that ended without taking its
// session down leaves it to the next caller; its windows went with it.
void forgetStaleOwner() {
    if (owner == 0) {
        return;
    }
    const bool ended = ownerHandle && WaitForSingleObject(ownerHandle, 0) == WAIT_OBJECT_0;
    if (ended && runner == owner) {
        runner = 0;
        ownerWaits = false;
    }
    if (ended || (runner == 0 && twainSession.state <= kStateManagerLoaded)) {
        releaseOwnership();
    }
}

void wakeOwner() { SetEvent(wakeUp); }

// Queues the call for the waiting owner and blocks until the owner has run it. False when the call
// failed there.
bool handOver(Gate& held, const char* name, CallKind kind, const std::function<void()>& work) {
    const DWORD caller = GetCurrentThreadId();
    HandOver call{name, caller, &work, kind == CallKind::Teardown, false, false, nullptr};
    traceLine(name, " handed to the owner, thread ", owner);
    (lastHandOver ? lastHandOver->next : firstHandOver) = &call;
    lastHandOver = &call;
    wakeOwner();
    while (!call.done) {
        held.awaitChange();
    }
    return !call.failed;
}

// Runs the first call handed over, with the gate open while it runs. False when there was none.
// Whatever happens to the call, its caller is released with the answer.
bool serveOne(Gate& held) {
    HandOver* call = firstHandOver;
    if (call == nullptr) {
        return false;
    }
    firstHandOver = call->next;
    if (firstHandOver == nullptr) {
        lastHandOver = nullptr;
    }
    held.close();
    clearRefusal();
    const Phase outer = std::exchange(phase, Phase::Running);
    const bool ran = runGuarded(call->name, *call->work);
    phase = outer;
    traceLine(call->name, " carried out for thread ", call->caller);
    held.open();
    waitEnded = waitEnded || call->endsWait;
    call->failed = !ran;
    call->done = true;  // from here on the call belongs to its thread again
    announceChange();
    return true;
}

// A call on a thread that is already inside the session.
bool runNested(const char* name, CallKind kind, TripletStates sends,
               const std::function<void()>& work) {
    // Between the triplets of a wait, as a single-threaded application's Cancel button would.
    if (phase == Phase::Waiting && kind != CallKind::Wait) {
        clearRefusal();
        phase = Phase::Running;
        const bool ran = runGuarded(name, work);
        traceWhatWasSent();
        phase = Phase::Waiting;
        Gate held;
        waitEnded = waitEnded || kind == CallKind::Teardown;
        // The wait looks again before it blocks. The call may have run inside PeekMessageA, for a
        // message another thread sent, and then nothing is left in the queue to wake the wait.
        wakeOwner();
        return ran;
    }
    // Inside a triplet the manager or the source runs, and neither expects to be called again.
    if (kind == CallKind::Wait) {
        refuse(name, "a wait for a page cannot start inside another call of the session");
        return false;
    }
    if (sends.contains(twainSession.state)) {
        refuse(name, "called back inside a triplet");
        return false;
    }
    clearRefusal();
    return runGuarded(name, work);
}

}  // namespace

bool runSessionCall(const char* name, CallKind kind, TripletStates sends,
                    const std::function<void()>& work) {
    if (phase != Phase::Idle) {
        return runNested(name, kind, sends, work);
    }
    // Neither waits for the call under way: a UI thread must not freeze behind a dialog.
    if (sends.none()) {
        clearRefusal();
        return runGuarded(name, work);
    }
    if (kind == CallKind::Teardown && twainSession.state < sends.lowest) {
        clearRefusal();
        traceLine(name, ": nothing is left to take down");
        return true;
    }
    const DWORD caller = GetCurrentThreadId();
    Gate held;
    for (;;) {
        forgetStaleOwner();
        const bool foreign = owner != 0 && owner != caller;
        if (foreign && ownerWaits) {
            if (kind == CallKind::Wait) {
                refuse(name, "only the owner waits for pages");
                return false;
            }
            return handOver(held, name, kind, work);
        }
        if (foreign && sends.contains(twainSession.state)) {
            refuse(name, "the owner, thread " + std::to_string(owner) + ", does not wait");
            return false;
        }
        if (runner == 0) {
            break;
        }
        // Another call runs on its own thread and will not wait for this one: its turn ends soon,
        // or its thread starts to wait for a page and takes calls.
        held.awaitChange();
    }
    runner = caller;
    // A thread that takes over the session of one that ended owns it at once; one that opens the
    // manager owns the session from then on.
    claimOwnershipOfAnOpenManager(caller);
    held.close();
    clearRefusal();
    phase = Phase::Running;
    const bool ran = runGuarded(name, work);
    traceWhatWasSent();
    phase = Phase::Idle;
    held.open();
    runner = 0;
    claimOwnershipOfAnOpenManager(caller);
    forgetStaleOwner();
    announceChange();
    return ran;
}

void cancelPageWait() {
    Gate held;
    forgetStaleOwner();
    traceLine(ownerWaits ? "cancel: the owner's wait for a page ends"
                         : "cancel: the owner's next wait for a page ends before it starts");
    if (ownerWaits) {
        waitEnded = true;
        wakeOwner();
    } else {
        cancelNextWait = true;
    }
}

void forgetPageWaitCancel() {
    Gate held;
    cancelNextWait = false;
}

PageWait::PageWait() {
    Gate held;
    // Without an event to wake it, the owner takes no calls: they are refused as when it does not
    // wait.
    wakeUp = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ownerWaits = wakeUp != HANDLE{};
    waitEnded = std::exchange(cancelNextWait, false);
    // Callers waiting for their turn hand their calls over from now on.
    announceChange();
}

PageWait::~PageWait() {
    Gate held;
    while (serveOne(held)) {
    }
    ownerWaits = false;
    waitEnded = false;
    if (wakeUp) {
        CloseHandle(wakeUp);
    }
    wakeUp = {};
}

bool PageWait::serve() {
    Gate held;
    while (serveOne(held)) {
    }
    return !waitEnded;
}

// Blocks until a message or a wake-up comes, as GetMessageA would for a message alone: no polling,
// no time-out. Messages sent from other threads are handled inside, and a window procedure that
// runs there, or a modal loop inside one, may take messages; whatever it did, the wait looks again.
PageWait::Next PageWait::nextMessage(MSG& msg) {
    const Phase outer = std::exchange(phase, Phase::Waiting);
    Next next = Next::WakeUp;
    if (PeekMessageA(&msg, {}, 0, 0, PM_REMOVE)) {
        next = msg.message == WM_QUIT ? Next::Quit : Next::Message;
    } else {
        traceWhatWasSent();
        // Only this thread sets the event's handle, so it reads it without the gate.
        const HANDLE event = wakeUp;
        MsgWaitForMultipleObjectsEx(event ? 1 : 0, &event, INFINITE, QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
    phase = outer;
    return next;
}

void PageWait::dispatch(const MSG& msg) {
    const Phase outer = std::exchange(phase, Phase::Waiting);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    phase = outer;
}

TripletScope::TripletScope() : outer_(static_cast<int>(std::exchange(phase, Phase::InTriplet))) {}

TripletScope::~TripletScope() { phase = static_cast<Phase>(outer_); }
