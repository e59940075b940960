// Windows counts neither windows nor global memory handles for a program. Windows are found with
// EnumWindows. Global memory is counted by routing the test program's calls of GlobalAlloc and
// GlobalFree, and those of the virtual scanner's libraries, through counters: their import address
// tables are pointed at the counters, so the library's core (linked into the program) and the
// virtual source are counted alike. The virtual manager loads its source at each MSG_OPENDS, so
// its calls of LoadLibraryA are routed too, and what it loads is counted as soon as it is loaded.
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "platform_probe.h"

namespace {

using GlobalAllocCall = HGLOBAL(WINAPI*)(UINT, SIZE_T);
using GlobalFreeCall = HGLOBAL(WINAPI*)(HGLOBAL);
using LoadLibraryCall = HMODULE(WINAPI*)(LPCSTR);

std::atomic<long long> liveBlocks{0};
GlobalAllocCall realGlobalAlloc = nullptr;
GlobalFreeCall realGlobalFree = nullptr;
LoadLibraryCall realLoadLibrary = nullptr;

void countGlobalMemory();

HGLOBAL WINAPI countedGlobalAlloc(UINT flags, SIZE_T bytes) {
    const HGLOBAL block = realGlobalAlloc(flags, bytes);
    if (block != nullptr) {
        ++liveBlocks;
    }
    return block;
}

HGLOBAL WINAPI countedGlobalFree(HGLOBAL block) {
    const HGLOBAL result = realGlobalFree(block);
    if (block != nullptr && result == nullptr) {
        --liveBlocks;
    }
    return result;
}

HMODULE WINAPI countingLoadLibrary(LPCSTR path) {
    const HMODULE module = realLoadLibrary(path);
    if (module != nullptr) {
        countGlobalMemory();
    }
    return module;
}

template <class T>
T* at(HMODULE module, DWORD offset) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + offset);
}

void redirect(ULONG_PTR& slot, const void* target) {
    DWORD protection = 0;
    VirtualProtect(&slot, sizeof(slot), PAGE_READWRITE, &protection);
    slot = reinterpret_cast<ULONG_PTR>(target);
    VirtualProtect(&slot, sizeof(slot), protection, &protection);
}

// Points the module's imports of GlobalAlloc, GlobalFree and LoadLibraryA from KERNEL32 at the
// counters; pointing a module at them again changes nothing.
void countGlobalMemoryOf(HMODULE module) {
    const auto* dos = at<IMAGE_DOS_HEADER>(module, 0);
    const auto* nt = at<IMAGE_NT_HEADERS>(module, dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
        return;
    }
    for (auto* dll = at<IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress); dll->Name != 0;
         ++dll) {
        if (_stricmp(at<char>(module, dll->Name), "KERNEL32.dll") != 0) {
            continue;
        }
        auto* names = at<IMAGE_THUNK_DATA>(module, dll->OriginalFirstThunk);
        auto* slots = at<IMAGE_THUNK_DATA>(module, dll->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const char* name =
                at<IMAGE_IMPORT_BY_NAME>(module, static_cast<DWORD>(names->u1.AddressOfData))->Name;
            if (std::strcmp(name, "GlobalAlloc") == 0) {
                redirect(slots->u1.Function, reinterpret_cast<const void*>(&countedGlobalAlloc));
            } else if (std::strcmp(name, "GlobalFree") == 0) {
                redirect(slots->u1.Function, reinterpret_cast<const void*>(&countedGlobalFree));
            } else if (std::strcmp(name, "LoadLibraryA") == 0) {
                redirect(slots->u1.Function, reinterpret_cast<const void*>(&countingLoadLibrary));
            }
        }
    }
}

// The test program and every library of the virtual scanner it has loaded (they export the test
// controls). A source unloaded and loaded again may come back at the same address, with its
// imports as the system bound them: every module is looked at each time.
void countGlobalMemory() {
    if (realGlobalAlloc == nullptr) {
        const HMODULE kernel = GetModuleHandleA("KERNEL32.dll");
        realGlobalAlloc = reinterpret_cast<GlobalAllocCall>(
            reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GlobalAlloc")));
        realGlobalFree = reinterpret_cast<GlobalFreeCall>(
            reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GlobalFree")));
        realLoadLibrary = reinterpret_cast<LoadLibraryCall>(
            reinterpret_cast<void (*)()>(GetProcAddress(kernel, "LoadLibraryA")));
    }
    std::vector<HMODULE> modules(256);
    DWORD needed = 0;
    EnumProcessModules(GetCurrentProcess(), modules.data(),
                       static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed);
    modules.resize(std::min<std::size_t>(modules.size(), needed / sizeof(HMODULE)));
    for (HMODULE module : modules) {
        const bool ours =
            module == GetModuleHandleA(nullptr) || GetProcAddress(module, "vscan_reset") != nullptr;
        if (ours) {
            countGlobalMemoryOf(module);
        }
    }
}

struct WindowCount {
    DWORD process;
    std::size_t count;
};

BOOL CALLBACK countWindow(HWND window, LPARAM parameter) {
    auto* windows = reinterpret_cast<WindowCount*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    // Every thread that has windows gets the system's IME windows too.
    const bool system =
        std::strcmp(className, "IME") == 0 || std::strcmp(className, "MSCTFIME UI") == 0;
    if (process == windows->process && !system) {
        ++windows->count;
    }
    return TRUE;
}

}  // namespace

void resetPlatform() { countGlobalMemory(); }

std::size_t liveWindows() {
    WindowCount windows = {GetCurrentProcessId(), 0};
    EnumWindows(countWindow, reinterpret_cast<LPARAM>(&windows));
    // Message-only windows are not enumerated with the others.
    for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
         window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) {
        countWindow(window, reinterpret_cast<LPARAM>(&windows));
    }
    return windows.count;
}

std::size_t liveGlobalHandles() { return static_cast<std::size_t>(liveBlocks.load()); }

void awaitMessageWait(unsigned long) { Sleep(200); }

void awaitSentMessage(unsigned long, std::chrono::milliseconds bound) {
    Sleep(static_cast<DWORD>(bound.count()));
}

bool failNextWindowCreation() { return false; }
