#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "bridge_child.h"

extern char** environ;

namespace {

class PipeChannel final : public bridge::Channel {
  public:
    PipeChannel(int in, int out) : in_(in), out_(out) {}
    ~PipeChannel() override {
        close(in_);
        closeOutput();
    }
    PipeChannel(const PipeChannel&) = delete;
    PipeChannel& operator=(const PipeChannel&) = delete;

    std::size_t readSome(void* into, std::size_t size) override {
        ssize_t got;
        do {
            got = read(in_, into, size);
        } while (got < 0 && errno == EINTR);
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    }

    bool writeAll(const void* from, std::size_t size) override {
        const auto* at = static_cast<const char*>(from);
        while (size > 0 && out_ >= 0) {
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
        return size == 0;
    }

    void closeOutput() {
        if (out_ >= 0) {
            close(out_);
            out_ = -1;
        }
    }

  private:
    int in_;
    int out_;
};

class PosixChild final : public BridgeChild {
  public:
    PosixChild(pid_t pid, int in, int out) : pid_(pid), channel_(in, out) {}
    ~PosixChild() override {
        if (exitCode(0) < 0) {
            ::kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    PosixChild(const PosixChild&) = delete;
    PosixChild& operator=(const PosixChild&) = delete;

    bridge::Channel& channel() override { return channel_; }
    void closeInput() override { channel_.closeOutput(); }
    void kill() override { ::kill(pid_, SIGKILL); }

    int exitCode(int milliseconds) override {
        if (code_ >= 0) {
            return code_;
        }
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (true) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                return code_;
            }
            if (std::chrono::steady_clock::now() >= until) {
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

  private:
    pid_t pid_;
    PipeChannel channel_;
    int code_ = -1;
};

}  // namespace

std::unique_ptr<BridgeChild> BridgeChild::start(const std::string& path) {
    int toChild[2];
    int fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0) {
        return nullptr;
    }
    if (pipe2(fromChild, O_CLOEXEC) != 0) {
        close(toChild[0]);
        close(toChild[1]);
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    if (failed != 0) {
        close(toChild[1]);
        close(fromChild[0]);
        return nullptr;
    }
    return std::make_unique<PosixChild>(pid, fromChild[0], toChild[1]);
}

std::string childEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void setChildEnvironment(const char* name, const std::string& value) {
    if (value.empty()) {
        unsetenv(name);
    } else {
        setenv(name, value.c_str(), 1);
    }
}
