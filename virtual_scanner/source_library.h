// A source's module as a Windows manager holds it: loaded by its full path, reached through its
// one export DS_Entry, and unloaded when the last holder lets it go. The manager holds it while the
// source is open; each call into the source holds it too, so that a source closed from another
// thread meanwhile is not unloaded under that call.
#ifndef VIRTUAL_SCANNER_SOURCE_LIBRARY_H
#define VIRTUAL_SCANNER_SOURCE_LIBRARY_H

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "twain/twain.h"

namespace vscan {

class SourceLibrary {
  public:
    // None when the file cannot be loaded or exports no DS_Entry.
    static std::shared_ptr<SourceLibrary> load(const std::string& path);
    ~SourceLibrary();
    SourceLibrary(const SourceLibrary&) = delete;
    SourceLibrary& operator=(const SourceLibrary&) = delete;

    TW_UINT16 entry(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                    TW_MEMREF data) const {
        return entry_(origin, dg, dat, msg, data);
    }
    const std::string& path() const { return path_; }

    // Another export of the module, as `Function`; null when it has none.
    template <class Function>
    Function find(Function, const char* name) const {
        return reinterpret_cast<Function>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, name)));
    }

  private:
    using Entry = TW_UINT16(PASCAL*)(pTW_IDENTITY origin, TW_UINT32 dg, TW_UINT16 dat,
                                     TW_UINT16 msg, TW_MEMREF data);
    SourceLibrary(HMODULE module, Entry entry, std::string path)
        : module_(module), entry_(entry), path_(std::move(path)) {}

    HMODULE module_;
    Entry entry_;
    std::string path_;
};

// The identity a source file answers DG_CONTROL / DAT_IDENTITY / MSG_GET with, asked for the
// application; none when it cannot be loaded or does not answer. The file is loaded for the
// question and unloaded again.
std::optional<TW_IDENTITY> askIdentity(const std::string& path, pTW_IDENTITY application);

}  // namespace vscan

#endif
