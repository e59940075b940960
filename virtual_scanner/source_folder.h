// Where a Windows manager finds its sources: the files named *.ds in the Windows folder's folder of
// sources and in the folders below it, as TWAINDSM.dll looks for them.
#ifndef VIRTUAL_SCANNER_SOURCE_FOLDER_H
#define VIRTUAL_SCANNER_SOURCE_FOLDER_H

#include <cstdint>
#include <string>
#include <vector>

namespace vscan {

// twain_64 for a 64-bit manager, twain_32 for a 32-bit one: a manager loads only sources built
// for its own width.
inline constexpr const char* kSourceFolderName = sizeof(void*) == 8 ? "twain_64" : "twain_32";

// The full paths of the sources, in the order of their paths, so that the first is the same on
// every call.
std::vector<std::string> sourceFiles();

// When the file was last written, as a number that changes with it; 0 when it cannot be read.
uint64_t lastWritten(const std::string& path);

}  // namespace vscan

#endif
