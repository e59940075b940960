#include "session/manager_path.h"

#include <cstring>

bool appendFileName(char (&path)[kManagerPathSize], UINT length, const char* fileName) {
    if (length == 0 || length >= kManagerPathSize) {
        return false;
    }
    const bool needsSeparator = path[length - 1] != '\\';
    const std::size_t nameSize = std::strlen(fileName) + 1;
    const std::size_t needed = length + (needsSeparator ? 1 : 0) + nameSize;
    if (needed > kManagerPathSize) {
        return false;
    }
    char* end = path + length;
    if (needsSeparator) {
        *end++ = '\\';
    }
    std::memcpy(end, fileName, nameSize);
    return true;
}
