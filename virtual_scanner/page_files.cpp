#include "page_files.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "script.h"

namespace vscan {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr char kListSeparator = ':';

}  // namespace

std::vector<std::string> listedPageFiles(const Script& script) {
    const auto listed = script.text("pages.files");
    const char* environment = std::getenv("VIRTUAL_SCANNER_PAGES");
    return splitPageList(listed ? *listed : (environment ? environment : ""));
}

std::vector<std::string> splitPageList(std::string_view list) {
    std::vector<std::string> paths;
    while (!list.empty()) {
        const std::size_t end = list.find(kListSeparator);
        const std::string_view entry = list.substr(0, end);
        if (!entry.empty()) {
            paths.emplace_back(entry);
        }
        list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
    }
    return paths;
}

std::optional<std::vector<uint8_t>> readPageFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    if (file.bad()) {
        return std::nullopt;
    }
    bytes.erase(bytes.begin(), bytes.begin() + std::min(bytes.size(), kFileHeaderSize));
    return bytes;
}

}  // namespace vscan
