#include "trace/trace.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <windows.h>

#include "trace/joined.h"
#include "trace/trace_file.h"
#include "trace/trace_header.h"
#include "trace/trace_line.h"

std::atomic<bool> tracing = false;

namespace {

std::int32_t noSession() { return 0; }

// Set once, by the session as it is loaded, before any thread can trace.
TraceStateReader sessionState = noSession;

ThreadName noVm(char*, std::size_t) { return ThreadName::NotJava; }

// Set once, by the library's load hook, before any thread can trace.
TraceThreadNamer threadNamer = noVm;

// What the Java side told of the host; guarded by its lock.
SRWLOCK hostLock = SRWLOCK_INIT;
std::string hostDescription;

std::string currentHeader() {
    AcquireSRWLockExclusive(&hostLock);
    const std::string header = traceHeader(hostDescription);
    ReleaseSRWLockExclusive(&hostLock);
    return header;
}

// The thread's Java name, asked once per thread. A fixed buffer, like the held line.
struct ThreadLabel {
    bool known;
    char name[64];
};

thread_local ThreadLabel threadLabel;

const char* currentThreadName() {
    ThreadLabel& label = threadLabel;
    if (!label.known) {
        const ThreadName asked = threadNamer(label.name, sizeof(label.name));
        if (asked == ThreadName::NotNow) {
            return "";
        }
        if (asked == ThreadName::NotJava) {
            label.name[0] = '\0';
        }
        label.known = true;
    }
    return label.name;
}

// The thread's held line. A fixed buffer, so that nothing of it needs to be destroyed when the
// thread ends.
struct HeldLine {
    bool waiting;
    std::int32_t stateBefore;
    std::chrono::system_clock::time_point when;
    std::size_t length;
    char text[1024];
};

thread_local HeldLine heldLine;

// Writes the line; a file that can no longer be written ends the trace.
void writeLine(std::chrono::system_clock::time_point when, std::int32_t stateBefore,
               std::int32_t stateAfter, std::string_view text) {
    try {
        if (!writeTraceLine(
                joined(traceLineStart(when, currentThreadName(), stateBefore, stateAfter), text))) {
            stopTrace();
        }
    } catch (...) {
        // the trace never stands in the session's way
    }
}

}  // namespace

void traceStateFrom(TraceStateReader reader) { sessionState = reader ? reader : noSession; }

void traceThreadNamesFrom(TraceThreadNamer namer) { threadNamer = namer ? namer : noVm; }

void traceHostIs(const std::string& description) {
    AcquireSRWLockExclusive(&hostLock);
    hostDescription = description;
    ReleaseSRWLockExclusive(&hostLock);
    setTraceFileHeader(currentHeader());
    traceEvent("host: " + description);
}

bool startTrace(const char* path, std::uint64_t rollOverBytes) {
    if (!openTraceFile(path, rollOverBytes, currentHeader())) {
        tracing = false;
        return false;
    }
    tracing = true;
    traceEvent("trace started");
    return true;
}

void stopTrace() {
    if (traceOn()) {
        writeHeldLine();
    }
    tracing = false;
    closeTraceFile();
}

void startTraceFromEnvironment() {
    if (const char* path = std::getenv("SCANLINK_TRACE"); path != nullptr && *path != '\0') {
        startTrace(path);
    }
}

void traceEvent(const std::string& text) {
    if (!traceOn()) {
        return;
    }
    writeHeldLine();
    const std::int32_t state = sessionState();
    writeLine(std::chrono::system_clock::now(), state, state, text);
}

void holdLine(std::chrono::system_clock::time_point when, std::int32_t stateBefore,
              const std::string& text) {
    HeldLine& held = heldLine;
    held.length = std::min(text.size(), sizeof(held.text));
    std::memcpy(held.text, text.data(), held.length);
    held.stateBefore = stateBefore;
    held.when = when;
    held.waiting = true;
}

void writeHeldLine() {
    HeldLine& held = heldLine;
    if (!held.waiting) {
        return;
    }
    held.waiting = false;
    writeLine(held.when, held.stateBefore, sessionState(),
              std::string_view(held.text, held.length));
}
