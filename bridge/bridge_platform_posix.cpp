#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>

#include "bridge/bridge_platform.h"
#include "bridge/protocol.h"

namespace bridge {

namespace {

class DescriptorChannel final : public Channel {
  public:
    DescriptorChannel(int in, int out) : in_(in), out_(out) {}
    ~DescriptorChannel() override {
        close(in_);
        close(out_);
    }
    DescriptorChannel(const DescriptorChannel&) = delete;
    DescriptorChannel& operator=(const DescriptorChannel&) = delete;

    std::size_t readSome(void* into, std::size_t size) override {
        while (true) {
            const ssize_t got = read(in_, into, size);
            if (got >= 0) {
                return static_cast<std::size_t>(got);
            }
            if (errno != EINTR) {
                return 0;
            }
        }
    }

    bool writeAll(const void* from, std::size_t size) override {
        const auto* at = static_cast<const char*>(from);
        while (size > 0) {
            const ssize_t put = write(out_, at, size);
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                return false;
            }
            at += put;
            size -= static_cast<std::size_t>(put);
        }
        return true;
    }

  private:
    int in_;
    int out_;
};

struct ThreadStart {
    void (*body)(void*);
    void* argument;
};

void* runThread(void* start) {
    const ThreadStart begun = *static_cast<ThreadStart*>(start);
    delete static_cast<ThreadStart*>(start);
    begun.body(begun.argument);
    return nullptr;
}

}  // namespace

std::unique_ptr<Channel> takeStandardChannel() {
    // A parent that is gone shows as a failed write, not as a signal that ends the bridge.
    signal(SIGPIPE, SIG_IGN);
    const int in = fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    const int out = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (in < 0 || out < 0) {
        return nullptr;
    }
    // A page goes in pieces of a mebibyte: a pipe that holds one wakes the parent once a piece,
    // not once every 64 KiB. Where the system refuses, the pipe stays as it is.
    fcntl(out, F_SETPIPE_SZ, static_cast<int>(kPageChunkBytes));
    dup2(STDERR_FILENO, STDOUT_FILENO);
    const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (nothing >= 0) {
        dup2(nothing, STDIN_FILENO);
        close(nothing);
    }
    return std::make_unique<DescriptorChannel>(in, out);
}

bool startThread(void (*body)(void*), void* argument) {
    auto* start = new ThreadStart{body, argument};
    pthread_t thread;
    if (pthread_create(&thread, nullptr, runThread, start) != 0) {
        delete start;
        return false;
    }
    pthread_detach(thread);
    return true;
}

void endWithParent() {
    const pid_t parent = getppid();
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The parent may have ended before the request was made.
    if (getppid() != parent) {
        _exit(kExitParentGone);
    }
}

void endProcess(int code) { _exit(code); }

}  // namespace bridge
