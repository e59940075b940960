// A teardown from another thread while the registering thread waits in acquireImage: the wait
// ends, acquireImage returns false with nothing thrown, and the consumer hears nothing.
#include <virtual_scanner_control.h>
#include <windows.h>

#include <thread>

#include "jni_host_fixture.h"

namespace {

using Teardown = JniHost;

// Tells another thread once the owner thread has taken a message from its queue, which it does
// only in the wait of acquireImage: a hook of the owner's thread sees the probe's own message.
class MessageWaitProbe {
  public:
    MessageWaitProbe()
        : owner_(GetCurrentThreadId()),
          message_(RegisterWindowMessageA("scanlink.jni_host.wait_probe")),
          taken_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_GETMESSAGE, &MessageWaitProbe::hook, nullptr, owner_);
    }
    ~MessageWaitProbe() {
        UnhookWindowsHookEx(hook_);
        CloseHandle(taken_);
        current_ = nullptr;
    }
    MessageWaitProbe(const MessageWaitProbe&) = delete;
    MessageWaitProbe& operator=(const MessageWaitProbe&) = delete;

    bool installed() const { return hook_ != nullptr && taken_ != nullptr; }

    // From another thread: returns once the owner has taken the probe's message.
    void awaitOwnerInMessageWait() {
        PostThreadMessageA(owner_, message_, 0, 0);
        WaitForSingleObject(taken_, INFINITE);
    }

  private:
    static LRESULT CALLBACK hook(int code, WPARAM removal, LPARAM message) {
        if (code >= 0 && current_ != nullptr &&
            reinterpret_cast<const MSG*>(message)->message == current_->message_) {
            SetEvent(current_->taken_);
        }
        return CallNextHookEx(nullptr, code, removal, message);
    }

    static inline MessageWaitProbe* current_ = nullptr;
    DWORD owner_;
    UINT message_;
    HANDLE taken_;
    HHOOK hook_ = nullptr;
};

void expectTeardownToEndTheWait(host::ShippedLibrary& library, const char* teardown,
                                jint stateAfter) {
    // The source will not announce a page within the test.
    vscan_setKnob("page.delay_ms", 600000);
    ASSERT_TRUE(library.step("prepareTransfer"));
    host::RecordingConsumer consumer;
    MessageWaitProbe probe;
    ASSERT_TRUE(probe.installed());
    jboolean tornDown = JNI_FALSE;
    std::thread other([&] {
        probe.awaitOwnerInMessageWait();
        tornDown = library.step(teardown);
    });
    const host::Outcome<jboolean> outcome = library.acquireImage(consumer.object());
    other.join();
    EXPECT_TRUE(tornDown);
    EXPECT_FALSE(outcome.value);
    EXPECT_EQ(outcome.thrown, nullptr);
    EXPECT_TRUE(consumer.calls().empty());
    EXPECT_EQ(library.getState(), stateAfter);
}

}  // namespace

TEST_F(Teardown, StopTransferFromAnotherThreadEndsTheWait) {
    openSource();
    expectTeardownToEndTheWait(library, "stopTransfer", kSourceOpen);
}

TEST_F(Teardown, CloseSourceFromAnotherThreadEndsTheWait) {
    openSource();
    expectTeardownToEndTheWait(library, "closeSource", kManagerOpen);
}

TEST_F(Teardown, UnregisterFromAnotherThreadEndsTheWait) {
    openSource();
    expectTeardownToEndTheWait(library, "unregister", kManagerNotLoaded);
}
