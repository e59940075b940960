// What a scenario asks the platform that the library's own calls do not tell: the windows and the
// global memory handles still alive, so that a scenario can prove it released everything it took.
// The POSIX stand-in counts them itself; on Windows they are counted with the system's own calls.
#ifndef SCANLINK_TESTS_PLATFORM_PROBE_H
#define SCANLINK_TESTS_PLATFORM_PROBE_H

#include <chrono>
#include <cstddef>

// Before and after each scenario. On the POSIX host the library finds the stand-in manager in the
// build tree's Windows folder again, whatever a test set; on Windows every global memory
// allocation of the test program and of the virtual scanner's libraries loaded so far is counted.
void resetPlatform();

// Windows of this process that are still there; the system's own (a thread's IME window) are not
// counted.
std::size_t liveWindows();

// Global memory handles allocated and not yet freed.
std::size_t liveGlobalHandles();

// Returns once the thread is, as far as the platform can tell, blocked waiting for a message.
// The stand-in knows; on Windows a pause stands in for knowing.
void awaitMessageWait(unsigned long thread);

// Returns once another thread waits for `thread` to take a message it sent to one of its windows,
// or the bound has passed. The stand-in knows; on Windows the bound stands in for knowing.
void awaitSentMessage(unsigned long thread, std::chrono::milliseconds bound);

// Makes the next window creation of the process fail; false where the platform cannot.
bool failNextWindowCreation();

#endif
