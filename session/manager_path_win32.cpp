// 32-bit Windows keeps its TWAIN manager, Twain_32.dll, in the Windows folder. The POSIX host
// stands in for it: its stand-in manager lies in the stand-in Windows folder under the same name.
#include "session/manager_path.h"

bool managerPath(int index, char (&path)[kManagerPathSize]) {
    if (index != 0) {
        return false;
    }
    return appendFileName(path, GetWindowsDirectoryA(path, kManagerPathSize), "Twain_32.dll");
}
