#include "trace/trace.h"

#include <cstdlib>

#include "session/twain_session.h"
#include "trace/trace_file.h"
#include "trace/trace_line.h"
#include "trace/triplet_trace.h"

std::atomic<bool> tracing = false;

bool startTrace(const char* path, std::uint64_t rollOverBytes) {
    if (!openTraceFile(path, rollOverBytes)) {
        tracing = false;
        return false;
    }
    tracing = true;
    traceEvent("trace started");
    return true;
}

void stopTrace() {
    if (traceOn()) {
        writePendingTriplet();
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
    writePendingTriplet();
    try {
        const auto now = std::chrono::system_clock::now();
        if (!writeTraceLine(traceLineStart(now, twainSession.state, twainSession.state) + text)) {
            tracing = false;
        }
    } catch (...) {
    }
}
