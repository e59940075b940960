// The start of every line of the trace: the time to the millisecond (UTC), the thread, and the
// session's state.
#ifndef SCANLINK_TRACE_TRACE_LINE_H
#define SCANLINK_TRACE_TRACE_LINE_H

#include <chrono>
#include <cstdint>
#include <string>

// "2026-12-10T01:40:03.123Z thread 4711 state 5 " or, for a step that moved the state,
// "... state 5->4 "; a thread with a Java name gives it after its id: 'thread 4711 "main" '.
std::string traceLineStart(std::chrono::system_clock::time_point when, const char* threadName,
                           std::int32_t stateBefore, std::int32_t stateAfter);

#endif
