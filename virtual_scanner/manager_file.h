// The file the virtual manager is on Windows: the manager a library of the same width loads. A
// 64-bit library prefers TWAINDSM.dll in the system folder; a 32-bit one loads Twain_32.dll from
// the Windows folder, as 32-bit Windows keeps it.
#ifndef VIRTUAL_SCANNER_MANAGER_FILE_H
#define VIRTUAL_SCANNER_MANAGER_FILE_H

namespace vscan {

inline constexpr const char* kVirtualManagerFile =
    sizeof(void*) == 8 ? "TWAINDSM.dll" : "Twain_32.dll";

}  // namespace vscan

#endif
