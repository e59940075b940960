// Pages taken from BMP files instead of the test chart, in the order listed, so that a test can
// hand the library any DIB, a malformed one included.
#ifndef VIRTUAL_SCANNER_PAGE_FILES_H
#define VIRTUAL_SCANNER_PAGE_FILES_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vscan {

class Script;

// The list is split at ':' (the host's path-list separator); empty entries are skipped.
std::vector<std::string> splitPageList(std::string_view list);
// The page files a test gave (the text "pages.files"), else those VIRTUAL_SCANNER_PAGES lists.
std::vector<std::string> listedPageFiles(const Script& script);
// The file's bytes after its 14-byte file header, unchanged and unvalidated; none when the file
// cannot be read.
std::optional<std::vector<uint8_t>> readPageFile(const std::string& path);

}  // namespace vscan

#endif
