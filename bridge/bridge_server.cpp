#include "bridge/bridge_server.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <new>
#include <string>

#include "bridge/bridge_platform.h"
#include "bridge/message.h"
#include "bridge/protocol.h"
#include "bridge/requests.h"
#include "build_version.h"
#include "session/lifecycle.h"
#include "session/native_calls.h"
#include "session/twain_steps.h"

namespace bridge {

namespace {

// How long the reader lets the session's thread finish once the channel has ended, before it
// ends the process: a driver may hold that thread for good.
constexpr DWORD kTeardownGraceMs = 5000;

class Server final : public PageSink {
  public:
    explicit Server(Channel& channel) : channel_(channel) {}

    int run() {
        RecordWriter hello;
        hello.u32(kProtocolVersion);
        hello.u32(static_cast<std::uint32_t>(sizeof(void*) * 8));
        hello.text(SCANLINK_VERSION);
        send(Kind::Hello, hello);
        if (!startThread(&Server::readChannel, this)) {
            std::fputs("scanlink-bridge: no thread could be started to read the channel\n", stderr);
            return kExitParentGone;
        }
        int exitCode = kExitDone;
        Message request;
        while (nextRequest(request, exitCode)) {
            if (!answer(request)) {
                fault("message kind " + std::to_string(request.kind) + " is no request");
                exitCode = kExitBadMessage;
                break;
            }
        }
        if (twainSession.state >= kStateManagerOpen) {
            unregisterStep();
        }
        AcquireSRWLockExclusive(&queueLock_);
        ownerDone_ = true;
        WakeAllConditionVariable(&queueChanged_);
        ReleaseSRWLockExclusive(&queueLock_);
        return exitCode;
    }

    bool sendPage(const void* bytes, std::size_t size) override {
        RecordWriter start;
        start.u8(bytes != nullptr ? 1 : 0);
        start.i64(static_cast<std::int64_t>(size));
        if (!send(Kind::PageStart, start)) {
            return false;
        }
        const auto* at = static_cast<const std::uint8_t*>(bytes);
        for (std::size_t sent = 0; at != nullptr && sent < size;) {
            const std::size_t piece = std::min<std::size_t>(kPageChunkBytes, size - sent);
            if (!send(Kind::PageBytes, at + sent, piece)) {
                return false;
            }
            sent += piece;
        }
        return true;
    }

  private:
    static void readChannel(void* server) { static_cast<Server*>(server)->readRequests(); }

    void readRequests() {
        while (true) {
            Message message;
            const ReadResult read = readMessage(channel_, kMostRequestBytes, message);
            if (read == ReadResult::Read &&
                message.kind == static_cast<std::uint16_t>(Kind::Cancel)) {
                cancelPageWait();
                continue;
            }
            AcquireSRWLockExclusive(&queueLock_);
            if (read == ReadResult::Read) {
                requests_.push_back(std::move(message));
                WakeAllConditionVariable(&queueChanged_);
                ReleaseSRWLockExclusive(&queueLock_);
                continue;
            }
            ReleaseSRWLockExclusive(&queueLock_);
            const int exitCode = read == ReadResult::Closed ? kExitDone : kExitBadMessage;
            if (exitCode != kExitDone) {
                fault(describe(read));
            }
            stopAfterChannel(exitCode);
            return;
        }
    }

    // The channel has ended: the session's thread takes the session down, and the process ends
    // without it when it does not in time.
    void stopAfterChannel(int exitCode) {
        AcquireSRWLockExclusive(&queueLock_);
        stopped_ = true;
        stopCode_ = exitCode;
        WakeAllConditionVariable(&queueChanged_);
        ReleaseSRWLockExclusive(&queueLock_);
        cancelPageWait();
        AcquireSRWLockExclusive(&queueLock_);
        while (!ownerDone_ &&
               SleepConditionVariableSRW(&queueChanged_, &queueLock_, kTeardownGraceMs, 0)) {
        }
        const bool done = ownerDone_;
        ReleaseSRWLockExclusive(&queueLock_);
        if (!done) {
            std::fputs("scanlink-bridge: the session did not end after its channel closed\n",
                       stderr);
            endProcess(exitCode == kExitDone ? kExitParentGone : exitCode);
        }
    }

    bool nextRequest(Message& request, int& exitCode) {
        AcquireSRWLockExclusive(&queueLock_);
        while (requests_.empty() && !stopped_) {
            SleepConditionVariableSRW(&queueChanged_, &queueLock_, INFINITE, 0);
        }
        const bool any = !requests_.empty() && !stopped_;
        if (any) {
            request = std::move(requests_.front());
            requests_.pop_front();
        } else {
            exitCode = stopCode_;
        }
        ReleaseSRWLockExclusive(&queueLock_);
        return any;
    }

    // Serves one request and sends its answer. False when it was no request.
    bool answer(Message& request) {
        Reply reply;
        try {
            if (!serveRequest(request.kind, std::move(request.payload), *this, reply)) {
                return false;
            }
        } catch (const std::bad_alloc&) {
            reply = Reply{};
            reply.outcome = Outcome::OutOfMemory;
            reply.text = "the bridge ran out of memory";
        } catch (const std::exception& e) {
            reply = Reply{};
            reply.outcome = Outcome::Failed;
            reply.text = std::string("the bridge failed: ") + e.what();
        }
        RecordWriter answer;
        answer.u8(static_cast<std::uint8_t>(reply.outcome));
        answer.u32(static_cast<std::uint32_t>(twainSession.state.load()));
        answer.u16(twainSession.resultCode.load());
        answer.u16(twainSession.conditionCode.load());
        if (reply.outcome == Outcome::Answered) {
            for (const std::uint8_t byte : reply.payload.bytes()) {
                answer.u8(byte);
            }
        } else {
            answer.text(reply.text);
        }
        send(Kind::Answer, answer);
        return true;
    }

    void fault(const std::string& why) {
        std::fprintf(stderr, "scanlink-bridge: %s\n", why.c_str());
        RecordWriter text;
        text.text(why);
        send(Kind::Fault, text);
    }

    bool send(Kind kind, const RecordWriter& payload) {
        return send(kind, payload.bytes().data(), payload.bytes().size());
    }

    bool send(Kind kind, const std::uint8_t* bytes, std::size_t size) {
        AcquireSRWLockExclusive(&writeLock_);
        const bool sent = writeMessage(channel_, static_cast<std::uint16_t>(kind), bytes, size);
        ReleaseSRWLockExclusive(&writeLock_);
        return sent;
    }

    Channel& channel_;
    SRWLOCK writeLock_ = SRWLOCK_INIT;
    SRWLOCK queueLock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE queueChanged_ = CONDITION_VARIABLE_INIT;
    std::deque<Message> requests_;
    bool stopped_ = false;
    int stopCode_ = kExitDone;
    bool ownerDone_ = false;
};

}  // namespace

void serveSession(Channel& channel) {
    Server server(channel);
    const int exitCode = server.run();
    // The reader thread may still be waking on the server's lock or reading the channel: the
    // process ends here, with both alive, rather than through destructors that free them under it.
    std::fflush(nullptr);
    endProcess(exitCode);
}

}  // namespace bridge
