#include <algorithm>

#include "file_side.h"

namespace vscan {

std::string hostPath(const std::string& path) {
    std::string host = path;
    std::replace(host.begin(), host.end(), '\\', '/');
    return host;
}

}  // namespace vscan
