#include "session/refusal.h"

#include <windows.h>

#include <utility>

namespace {

// Held only to copy the text in or out, never while a call runs.
SRWLOCK textGate = SRWLOCK_INIT;
std::string text;

class TextGate {
  public:
    TextGate() { AcquireSRWLockExclusive(&textGate); }
    ~TextGate() { ReleaseSRWLockExclusive(&textGate); }
    TextGate(const TextGate&) = delete;
    TextGate& operator=(const TextGate&) = delete;
};

}  // namespace

void recordRefusal(const char* name, const std::string& why) noexcept {
    std::string refusal;
    try {
        refusal = std::string(name) + ": " + why;
    } catch (...) {
        // Without the words the codes still tell that the call was refused.
    }
    const TextGate held;
    text = std::move(refusal);
}

void clearRefusal() noexcept {
    const TextGate held;
    text.clear();
}

std::string lastRefusal() {
    const TextGate held;
    return text;
}
