#include "session/twain_session.h"

#include "trace/trace.h"

TwainSession twainSession;

namespace {

std::int32_t currentState() { return twainSession.state; }

// The trace says the session's state on every line; it learns it from here, as the library loads.
const bool stateTraced = (traceStateFrom(currentState), true);

}  // namespace
