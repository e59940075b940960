#include <windows.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace {

// WIN32_POSIX_TOTAL_PHYS_BYTES, a plain decimal byte count, stands in for the machine's memory so
// that tests can pose as machines of any size; anything else in it is ignored.
bool simulatedTotalBytes(DWORDLONG& bytes) {
    const char* text = std::getenv("WIN32_POSIX_TOTAL_PHYS_BYTES");
    if (text == nullptr || *text < '0' || *text > '9') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0') {
        return false;
    }
    bytes = value;
    return true;
}

DWORDLONG totalPhysicalBytes() {
    DWORDLONG simulated = 0;
    if (simulatedTotalBytes(simulated)) {
        return simulated;
    }
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) {
        return 0;
    }
    return static_cast<DWORDLONG>(pages) * static_cast<DWORDLONG>(pageSize);
}

}  // namespace

// As on 32-bit Windows, the 32-bit record cannot tell more than 4 GiB - 1.
extern "C" void GlobalMemoryStatus(LPMEMORYSTATUS status) {
    const DWORDLONG total = totalPhysicalBytes();
    *status = MEMORYSTATUS{};
    status->dwLength = sizeof(MEMORYSTATUS);
    status->dwTotalPhys = static_cast<SIZE_T>(std::min<DWORDLONG>(total, UINT32_MAX));
}

extern "C" BOOL GlobalMemoryStatusEx(LPMEMORYSTATUSEX status) {
    if (status == nullptr || status->dwLength != sizeof(MEMORYSTATUSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *status = MEMORYSTATUSEX{};
    status->dwLength = sizeof(MEMORYSTATUSEX);
    status->ullTotalPhys = totalPhysicalBytes();
    return TRUE;
}
