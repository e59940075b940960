// Each rule the session applies on its own is a line of the trace, so that a report tells what it
// decided.
#ifndef SCANLINK_SESSION_RULE_TRACE_H
#define SCANLINK_SESSION_RULE_TRACE_H

#include <string>

#include "trace/trace.h"

inline void traceRule(const char* rule) {
    if (traceOn()) {
        traceEvent(std::string("rule: ") + rule);
    }
}

#endif
