#include "physical_memory.h"

#include <windows.h>

#include "mebibytes.h"

// GlobalMemoryStatus caps its count at 4 GiB - 1, so the 64-bit record is the only one that tells
// the size of a machine of today.
unsigned long long totalPhysicalMebibytes() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) {
        return 0;
    }
    return toMebibytes(status.ullTotalPhys);
}
