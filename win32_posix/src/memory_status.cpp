#include <windows.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>

namespace {

DWORDLONG totalPhysicalBytes() {
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
