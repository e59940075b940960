#include "file_side.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "little_endian.h"
#include "page_encode.h"
#include "page_render.h"

namespace vscan {
namespace {

constexpr char kDefaultName[] = "TWAIN.TMP";
constexpr size_t kFileHeaderSize = 14;

// A BMP file: the 14-byte file header before the DIB of a native transfer.
std::vector<uint8_t> bmpFile(const ScanSettings& settings) {
    const std::vector<uint8_t> dib = renderPage(settings);
    std::vector<uint8_t> file(kFileHeaderSize, 0);
    const uint32_t colors = dib.size() >= 36 ? static_cast<uint32_t>(dib[32] | dib[33] << 8) : 0;
    file[0] = 'B';
    file[1] = 'M';
    put32(file, 2, static_cast<uint32_t>(kFileHeaderSize + dib.size()));
    put32(file, 10, static_cast<uint32_t>(kFileHeaderSize + 40 + 4 * colors));
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

std::optional<std::vector<uint8_t>> fileBytes(TW_UINT16 format, const ScanSettings& settings) {
    switch (format) {
        case TWFF_BMP:
            return bmpFile(settings);
        case TWFF_TIFF:
            return encodeTiff(settings);
        case TWFF_JFIF:
            if (settings.pixelType == TWPT_BW) {
                return std::nullopt;
            }
            return encodeJpeg(settings, settings.jpegQuality);
        default:
            return std::nullopt;
    }
}

}  // namespace

void FileSide::reset() {
    name_ = kDefaultName;
    format_ = TWFF_BMP;
}

TW_UINT16 FileSide::setup(TW_UINT16 msg, TW_SETUPFILEXFER* file) {
    if (file == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    if (!core_.inStates(4, 6)) {
        return core_.fail(TWCC_SEQERROR);
    }
    switch (msg) {
        case MSG_GET:
        case MSG_GETDEFAULT:
            std::memset(file, 0, sizeof(*file));
            std::snprintf(file->FileName, sizeof(file->FileName), "%s",
                          msg == MSG_GET ? name_.c_str() : kDefaultName);
            file->Format = msg == MSG_GET ? format_ : TWFF_BMP;
            return TWRC_SUCCESS;
        case MSG_SET:
            if (std::memchr(file->FileName, 0, sizeof(file->FileName)) == nullptr ||
                file->FileName[0] == 0 || !writesFileFormat(file->Format)) {
                return core_.fail(TWCC_BADVALUE);
            }
            name_ = file->FileName;
            format_ = file->Format;
            return TWRC_SUCCESS;
        case MSG_RESET:
            reset();
            return TWRC_SUCCESS;
        default:
            return core_.fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 FileSide::transfer(const ScanSettings& settings) {
    if (core_.script.knob("file.unwritten").value_or(0) != 0) {
        return TWRC_XFERDONE;
    }
    const auto bytes = fileBytes(format_, settings);
    if (!bytes) {
        return core_.fail(TWCC_BADVALUE);
    }
    std::FILE* file = std::fopen(hostPath(name_).c_str(), "wb");
    if (file == nullptr) {
        return core_.fail(TWCC_FILENOTFOUND);
    }
    const bool written = std::fwrite(bytes->data(), 1, bytes->size(), file) == bytes->size();
    const bool closed = std::fclose(file) == 0;
    return written && closed ? TWRC_XFERDONE : core_.fail(TWCC_OPERATIONERROR);
}

}  // namespace vscan
