#include "host_environment.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "prefix_layout.h"
#include "scanner_module.h"

namespace host {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        std::fprintf(stderr, "the environment variable %s is not set\n", name);
        std::abort();
    }
    return value;
}

}  // namespace

bool throughWinesManager() {
    const std::string manager = variable("JNI_HOST_MANAGER");
    if (manager != "virtual" && manager != "wine") {
        std::fprintf(stderr, "JNI_HOST_MANAGER is %s, neither virtual nor wine\n", manager.c_str());
        std::abort();
    }
    return manager == "wine";
}

std::string hostPathWithoutDrive(const char* name) {
    std::string path = variable(name);
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

std::string hostPathOnDrive(const char* name) { return "Z:" + hostPathWithoutDrive(name); }

}  // namespace host

// The scanner the library's manager loads: the virtual manager's own, or the virtual source that
// Wine's manager loads.
HMODULE virtualScannerModule() {
    static const HMODULE module = loadScannerModule(
        host::throughWinesManager() ? kPrefixLayout.virtualSource : kPrefixLayout.virtualManager);
    return module;
}
