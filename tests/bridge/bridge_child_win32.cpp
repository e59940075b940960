#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "bridge_child.h"

namespace {

// ReadFile and WriteFile count in a DWORD: more than this goes in several calls.
constexpr DWORD kMostPerCall = 0x10000000;

class HandleChannel final : public bridge::Channel {
  public:
    HandleChannel(HANDLE in, HANDLE out) : in_(in), out_(out) {}
    ~HandleChannel() override {
        CloseHandle(in_);
        closeOutput();
    }
    HandleChannel(const HandleChannel&) = delete;
    HandleChannel& operator=(const HandleChannel&) = delete;

    std::size_t readSome(void* into, std::size_t size) override {
        DWORD got = 0;
        const DWORD asked = size > kMostPerCall ? kMostPerCall : static_cast<DWORD>(size);
        return ReadFile(in_, into, asked, &got, nullptr) ? got : 0;
    }

    bool writeAll(const void* from, std::size_t size) override {
        const auto* at = static_cast<const char*>(from);
        while (size > 0 && out_ != nullptr) {
            const DWORD asked = size > kMostPerCall ? kMostPerCall : static_cast<DWORD>(size);
            DWORD put = 0;
            if (!WriteFile(out_, at, asked, &put, nullptr) || put == 0) {
                return false;
            }
            at += put;
            size -= put;
        }
        return size == 0;
    }

    void closeOutput() {
        if (out_ != nullptr) {
            CloseHandle(out_);
            out_ = nullptr;
        }
    }

  private:
    HANDLE in_;
    HANDLE out_;
};

// The bridge sits in a job that ends it when the job's handle closes: with this object, or with
// this process however it ends, so that no bridge outlives its parent.
class WindowsChild final : public BridgeChild {
  public:
    WindowsChild(HANDLE job, HANDLE process, HANDLE in, HANDLE out)
        : job_(job), process_(process), channel_(in, out) {}
    ~WindowsChild() override {
        if (exitCode(0) < 0) {
            TerminateProcess(process_, kKilledExitCode);
            WaitForSingleObject(process_, INFINITE);
        }
        CloseHandle(process_);
        CloseHandle(job_);
    }
    WindowsChild(const WindowsChild&) = delete;
    WindowsChild& operator=(const WindowsChild&) = delete;

    bridge::Channel& channel() override { return channel_; }
    void closeInput() override { channel_.closeOutput(); }
    void kill() override { TerminateProcess(process_, kKilledExitCode); }

    int exitCode(int milliseconds) override {
        DWORD code = 0;
        if (WaitForSingleObject(process_, static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(process_, &code)) {
            return -1;
        }
        return static_cast<int>(code);
    }

  private:
    HANDLE job_;
    HANDLE process_;
    HandleChannel channel_;
};

// A copy of `handle` that the next child inherits; the original stays this process's alone.
HANDLE inheritable(HANDLE handle) {
    HANDLE copy = nullptr;
    const HANDLE self = GetCurrentProcess();
    if (!DuplicateHandle(self, handle, self, &copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
        return nullptr;
    }
    return copy;
}

HANDLE killingJob() {
    const HANDLE job = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job != nullptr &&
        !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
        CloseHandle(job);
        return nullptr;
    }
    return job;
}

void closeAll(std::initializer_list<HANDLE> handles) {
    for (const HANDLE handle : handles) {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
}

}  // namespace

std::unique_ptr<BridgeChild> BridgeChild::start(const std::string& path) {
    HANDLE toChildRead = nullptr;
    HANDLE toChildWrite = nullptr;
    HANDLE fromChildRead = nullptr;
    HANDLE fromChildWrite = nullptr;
    if (!CreatePipe(&toChildRead, &toChildWrite, nullptr, 0)) {
        return nullptr;
    }
    if (!CreatePipe(&fromChildRead, &fromChildWrite, nullptr, 0)) {
        closeAll({toChildRead, toChildWrite});
        return nullptr;
    }
    // Only the child's ends are inheritable, and only while it is created: a child's own end held
    // here would keep the channel open after the child has gone.
    const HANDLE childIn = inheritable(toChildRead);
    const HANDLE childOut = inheritable(fromChildWrite);
    const HANDLE childError = inheritable(GetStdHandle(STD_ERROR_HANDLE));
    closeAll({toChildRead, fromChildWrite});
    const HANDLE job = killingJob();

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = childOut;
    startup.hStdError = childError;
    std::vector<char> commandLine;
    commandLine.push_back('"');
    commandLine.insert(commandLine.end(), path.begin(), path.end());
    commandLine.push_back('"');
    commandLine.push_back('\0');
    PROCESS_INFORMATION process = {};
    const bool started = childIn != nullptr && childOut != nullptr && job != nullptr &&
                         CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_SUSPENDED, nullptr, nullptr, &startup, &process);
    closeAll({childIn, childOut, childError});
    if (!started) {
        closeAll({toChildWrite, fromChildRead, job});
        return nullptr;
    }
    if (!AssignProcessToJobObject(job, process.hProcess)) {
        TerminateProcess(process.hProcess, kKilledExitCode);
        WaitForSingleObject(process.hProcess, INFINITE);
        closeAll({process.hThread, process.hProcess, toChildWrite, fromChildRead, job});
        return nullptr;
    }
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    return std::make_unique<WindowsChild>(job, process.hProcess, fromChildRead, toChildWrite);
}

std::string childEnvironment(const char* name) {
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) {
        return "";
    }
    std::string value(size, '\0');
    value.resize(GetEnvironmentVariableA(name, value.data(), size));
    return value;
}

void setChildEnvironment(const char* name, const std::string& value) {
    SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}
