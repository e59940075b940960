// 64-bit Windows has no 64-bit Twain_32.dll: 64-bit programs use the TWAIN 2 manager TWAINDSM.dll
// in the system folder. Where that cannot be loaded, twain_32.dll in the system folder is tried,
// which is where Wine keeps its 64-bit manager.
#include <iterator>

#include "session/manager_path.h"

namespace {

constexpr const char* kManagerFiles[] = {"TWAINDSM.dll", "twain_32.dll"};

}  // namespace

bool managerPath(int index, char (&path)[kManagerPathSize]) {
    if (index < 0 || index >= static_cast<int>(std::size(kManagerFiles))) {
        return false;
    }
    return appendFileName(path, GetSystemDirectoryA(path, kManagerPathSize), kManagerFiles[index]);
}
