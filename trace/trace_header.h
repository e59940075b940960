// The lines each trace file begins with, marked by '#': the library's version and build, what it
// runs on, and the process, so that a file sent in on its own says where it was written.
#ifndef SCANLINK_TRACE_TRACE_HEADER_H
#define SCANLINK_TRACE_TRACE_HEADER_H

#include <string>

// `host` is what the Java side told of the system and the VM; empty when nothing was told.
std::string traceHeader(const std::string& host);

#endif
