// scanlink-bridge: one TWAIN session in a process of its own, served to the parent that started
// it over the pipes it was given as standard input and output. A 64-bit Java VM runs 32-bit
// drivers through the 32-bit bridge, and any VM can keep a driver that crashes out of its own
// process.
#include <cstdio>
#include <cstring>

#include "bridge/bridge_platform.h"
#include "bridge/bridge_server.h"
#include "bridge/protocol.h"
#include "build_version.h"
#include "trace/trace.h"

int main(int argc, char** argv) {
    if (argc > 1) {
        const bool version = argc == 2 && std::strcmp(argv[1], "--version") == 0;
        std::fprintf(version ? stdout : stderr, "%s\n",
                     version ? "scanlink-bridge " SCANLINK_VERSION
                             : "scanlink-bridge takes no arguments: its parent speaks to it "
                               "through its standard input and output");
        return version ? bridge::kExitDone : bridge::kExitUsage;
    }
    bridge::endWithParent();
    const auto channel = bridge::takeStandardChannel();
    if (!channel) {
        std::fputs("scanlink-bridge: the standard input and output are no channel\n", stderr);
        return bridge::kExitUsage;
    }
    startTraceFromEnvironment();
    traceHostIs("the scanlink bridge process");
    bridge::serveSession(*channel);
}
