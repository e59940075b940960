#include "trace/trace_header.h"

#include <windows.h>

#include "build_version.h"

std::string traceHeader(const std::string& host) {
    char executable[1024];
    const DWORD length = GetModuleFileNameA({}, executable, sizeof(executable));
    return "# scanlink32 " SCANLINK_VERSION " (" SCANLINK_COORDINATES ", build " SCANLINK_BUILD
           "), a " +
           std::to_string(sizeof(void*) * 8) + "-bit library\n# host: " +
           (host.empty() ? "not told (the library was not loaded by the Java binding)" : host) +
           "\n# process " + std::to_string(GetCurrentProcessId()) + " " +
           (length > 0 && length < sizeof(executable) ? std::string(executable, length)
                                                      : std::string("(its file is not known)"));
}
