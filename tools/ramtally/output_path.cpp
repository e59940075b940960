#include "output_path.h"

#include <cstdio>

namespace {

#ifdef _WIN32
constexpr const char* kPathFormat = "%s\\%s";
#else
constexpr const char* kPathFormat = "%s/%s";
#endif

}  // namespace

bool buildOutputPath(const char* directory, char (&path)[kOutputPathSize]) {
    const int length = std::snprintf(path, sizeof(path), kPathFormat, directory, kOutputFileName);
    return length >= 0 && static_cast<std::size_t>(length) < sizeof(path);
}
