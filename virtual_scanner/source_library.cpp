#include "source_library.h"

namespace vscan {

std::shared_ptr<SourceLibrary> SourceLibrary::load(const std::string& path) {
    const HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        return nullptr;
    }
    const auto entry =
        reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module, "DS_Entry")));
    if (entry == nullptr) {
        FreeLibrary(module);
        return nullptr;
    }
    return std::shared_ptr<SourceLibrary>(new SourceLibrary(module, entry, path));
}

SourceLibrary::~SourceLibrary() { FreeLibrary(module_); }

std::optional<TW_IDENTITY> askIdentity(const std::string& path, pTW_IDENTITY application) {
    const auto library = SourceLibrary::load(path);
    if (!library) {
        return std::nullopt;
    }
    TW_IDENTITY identity = {};
    if (library->entry(application, DG_CONTROL, DAT_IDENTITY, MSG_GET, &identity) != TWRC_SUCCESS) {
        return std::nullopt;
    }
    return identity;
}

}  // namespace vscan
