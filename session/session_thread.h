// The one thread that speaks TWAIN. The thread that registers owns the session and sends every
// triplet: sources open their windows on the thread that enabled them, and assume it.
//
// A call made on any other thread is handed to the owner while the owner waits for a page, and
// runs there between triplets. While the owner does not wait, such a call is refused when it would
// send a triplet, and otherwise runs where it is once the call under way has ended. Two kinds of
// call never wait for the call under way, which may be a dialog that lasts minutes: one that never
// sends (it touches only what any thread may touch at any time), and a teardown whose state says
// that nothing is left to take down, which answers at once. A call made on the owner's own thread
// while it is already inside the session (from a window procedure, a modal loop or a consumer)
// runs where it is while the owner waits for a page between triplets, and inside a triplet only
// when it sends nothing. The state and the codes are read without waiting.
//
// Nothing a call throws leaves it: the frame above is the VM's, or the owner's wait on which
// another thread's caller depends. A call that throws fails as the session's unknown failure.
//
// No lock is held while a thread waits for the owner, pumps messages or runs the application's
// code, so none of them can stand in another's way.
#ifndef SCANLINK_SESSION_SESSION_THREAD_H
#define SCANLINK_SESSION_SESSION_THREAD_H

#include <windows.h>

#include <cstdint>
#include <functional>

// The states in which a call sends a triplet, from `lowest` to `highest`.
// Below `lowest`, a teardown has nothing left to take down.
struct TripletStates {
    int32_t lowest;
    int32_t highest;
    bool contains(int32_t state) const { return state >= lowest && state <= highest; }
    bool none() const { return lowest > highest; }
};
inline constexpr TripletStates kSendsNothing = {1, 0};

enum class CallKind {
    Step,
    // stopTransfer, closeSource, unregister: made during a wait for a page, a teardown ends that
    // wait whether the source accepts it or not, so the waiter always learns the outcome.
    Teardown,
    // acquireImage: only the owner waits for a page, and never inside a wait of its own.
    Wait,
};

// Runs `work` as the rules above say, on this thread or the owner's. False when the call was
// refused: `work` did not run, nothing was sent, and the codes read TWRC_FAILURE and
// TWCC_SEQERROR, with the reason kept (refusal.h); false too when `work` threw, with the codes
// TWRC_FAILURE and TWCC_BUMMER. True when `work` ran to its end, or when a teardown had nothing
// left to take down and `work` did not run. `name`, the native method's, is what the trace calls
// it.
bool runSessionCall(const char* name, CallKind kind, TripletStates sends,
                    const std::function<void()>& work);

// Ends the owner's wait for a page, from any thread: the wait under way, or else the next one,
// which then ends before it reads a message. A new enable forgets a cancel that no wait took.
void cancelPageWait();
void forgetPageWaitCancel();

// The owner's wait for a page. While it lasts, the calls of other threads are handed to it; before
// it ends, it runs what was handed over, so that no caller is left waiting.
class PageWait {
  public:
    enum class Next { Message, WakeUp, Quit };

    PageWait();
    ~PageWait();
    PageWait(const PageWait&) = delete;
    PageWait& operator=(const PageWait&) = delete;

    // Runs the calls handed over so far. False once a teardown (handed over, or made by a window
    // procedure of this thread) or a cancel has ended the wait.
    bool serve();
    // The thread's next message; WM_QUIT is consumed. WakeUp when something else happened: a call
    // was handed over, a cancel came, or messages sent from other threads were handled.
    Next nextMessage(MSG& msg);
    // Translates and dispatches a message the source did not take.
    void dispatch(const MSG& msg);
};

// Marks the calling thread as inside a triplet while it lasts.
class TripletScope {
  public:
    TripletScope();
    ~TripletScope();
    TripletScope(const TripletScope&) = delete;
    TripletScope& operator=(const TripletScope&) = delete;

  private:
    int outer_;
};

#endif
