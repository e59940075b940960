// A record of what passes between the library and the source, for field support: written when a
// file is named (SCANLINK_TRACE, the binding's property, or its Trace class), and otherwise costing
// one predictable branch per triplet. One line per event, readable without tools: the time to the
// millisecond (UTC), the thread, the session's state, and what happened. Lines of several threads
// never mix; the file is appended to and, past its size limit, kept as FILE.1 while a new one
// begins. Nothing here throws into the session, and a file that cannot be written costs one line on
// the standard error.
#ifndef SCANLINK_TRACE_TRACE_H
#define SCANLINK_TRACE_TRACE_H

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

inline constexpr std::uint64_t kTraceRollOverBytes = 10 * 1024 * 1024;

extern std::atomic<bool> tracing;

inline bool traceOn() { return tracing.load(std::memory_order_relaxed); }

// The trace reads the session's state for every line through this function, which the session
// gives it; until then every line says state 0.
using TraceStateReader = std::int32_t (*)();
void traceStateFrom(TraceStateReader reader);

// The Java name of the calling thread, for the lines that thread writes; given by the layer that
// knows the VM. Answers how it did: Named, NotJava (a thread of the system's, or no VM), or NotNow
// (the thread cannot ask its VM at this moment, so a later line asks again).
enum class ThreadName { Named, NotJava, NotNow };
using TraceThreadNamer = ThreadName (*)(char* name, std::size_t size);
void traceThreadNamesFrom(TraceThreadNamer namer);

// What the process runs on, as the Java side tells it (the system, the VM and its bitness): in
// the header of every file begun from now on, and a line of its own when the trace is on.
void traceHostIs(const std::string& description);

// False when the file cannot be opened; the trace is then off, whatever file it wrote before. The
// file begins with the header: the library's version and build, the host, and the process.
bool startTrace(const char* path, std::uint64_t rollOverBytes = kTraceRollOverBytes);
void stopTrace();
// The file that the environment variable SCANLINK_TRACE names, if any.
void startTraceFromEnvironment();

// One line with the time, the thread and the state now; the line the thread holds goes first.
void traceEvent(const std::string& text);

// A line held back until the session has moved on, so that it can say the state after its event
// as well as the state before: written at the thread's next line, or by writeHeldLine.
void holdLine(std::chrono::system_clock::time_point when, std::int32_t stateBefore,
              const std::string& text);
void writeHeldLine();

#endif
