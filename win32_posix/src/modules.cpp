#include <dlfcn.h>
#include <win32_posix_test_hooks.h>

#include <algorithm>
#include <string>

#include "handle_table.h"

using namespace win32posix;

namespace {

std::mutex nameMutex;
std::string lastName;

}  // namespace

extern "C" const char* win32posix_lastLoadLibraryName(void) {
    std::lock_guard lock(nameMutex);
    return lastName.c_str();
}

// Windows accepts either separator; the dynamic loader only the slash.
extern "C" HMODULE LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    {
        std::lock_guard lock(nameMutex);
        lastName = fileName;
    }
    std::string path = fileName;
    std::replace(path.begin(), path.end(), '\\', '/');
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    auto lock = lockHandles();
    // A module loaded again keeps its handle and counts one more reference, as on Windows.
    HANDLE existing = findHandleWhere([library](const HandleObject& object) {
        const Module* module = std::get_if<Module>(&object);
        return module != nullptr && module->library == library;
    });
    if (existing != 0) {
        findHandle<Module>(existing)->references++;
        return existing;
    }
    return addHandle(Module{library, 1});
}

extern "C" FARPROC GetProcAddress(HMODULE handle, LPCSTR procName) {
    void* library = nullptr;
    {
        auto lock = lockHandles();
        const Module* module = findHandle<Module>(handle);
        if (module == nullptr) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        library = module->library;
    }
    void* symbol = dlsym(library, procName);
    if (symbol == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
    }
    return reinterpret_cast<FARPROC>(symbol);
}

extern "C" BOOL FreeLibrary(HMODULE handle) {
    void* library = nullptr;
    {
        auto lock = lockHandles();
        Module* module = findHandle<Module>(handle);
        if (module == nullptr) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        library = module->library;
        if (--module->references == 0) {
            removeHandle(handle);
        }
    }
    dlclose(library);
    return TRUE;
}
