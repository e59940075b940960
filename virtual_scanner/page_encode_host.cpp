#include "page_encode.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
#include <tiffio.h>

#include "page_render.h"

namespace vscan {
namespace {

// A TIFF file in memory: libtiff writes and reads it through a descriptor of its own.
class MemoryFile {
  public:
    MemoryFile() : fd_(memfd_create("vscan-page", 0)) {}
    ~MemoryFile() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    TIFF* open(const char* mode) const {
        if (fd_ < 0 || lseek(fd_, 0, SEEK_SET) != 0) {
            return nullptr;
        }
        const int own = dup(fd_);
        TIFF* tiff = own >= 0 ? TIFFFdOpen(own, "vscan-page", mode) : nullptr;
        if (tiff == nullptr && own >= 0) {
            close(own);
        }
        return tiff;
    }
    std::optional<std::vector<uint8_t>> bytes() const {
        const off_t size = lseek(fd_, 0, SEEK_END);
        if (size < 0 || lseek(fd_, 0, SEEK_SET) != 0) {
            return std::nullopt;
        }
        std::vector<uint8_t> all(static_cast<size_t>(size));
        if (read(fd_, all.data(), all.size()) != static_cast<ssize_t>(all.size())) {
            return std::nullopt;
        }
        return all;
    }

  private:
    int fd_;
};

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

// Writes the page as one strip; black and white pixels are stored with 1 for black, as Group 4
// codes count runs from white.
bool writeTiff(TIFF* tiff, const ScanSettings& s) {
    const PageSize size = pageSize(s);
    const bool blackAndWhite = pixelBits(s) == 1;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(size.width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(size.height));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, s.pixelType == TWPT_RGB ? 3 : 1);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, blackAndWhite ? 1 : 8);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(size.height));
    TIFFSetField(tiff, TIFFTAG_COMPRESSION,
                 blackAndWhite ? COMPRESSION_CCITTFAX4 : COMPRESSION_NONE);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                 blackAndWhite             ? PHOTOMETRIC_MINISWHITE
                 : s.pixelType == TWPT_RGB ? PHOTOMETRIC_RGB
                                           : PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(s.xResolution));
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(s.yResolution));
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    std::vector<uint8_t> row(packedRowBytes(s, size.width));
    for (int32_t y = 0; y < size.height; ++y) {
        renderMemoryRow(s, y, row.data());
        if (blackAndWhite) {
            for (uint8_t& byte : row) {
                byte = static_cast<uint8_t>(~byte);
            }
        }
        if (TIFFWriteScanline(tiff, row.data(), static_cast<uint32_t>(y), 0) < 0) {
            return false;
        }
    }
    return true;
}

std::optional<std::vector<uint8_t>> tiffOf(const ScanSettings& s, MemoryFile& file) {
    TiffFile tiff(file.open("w"));
    if (!tiff || !writeTiff(tiff.get(), s)) {
        return std::nullopt;
    }
    tiff.reset();  // written out on closing
    return file.bytes();
}

}  // namespace

bool encodes(TW_UINT16 compression) {
    return compression == TWCP_NONE || compression == TWCP_JPEG || compression == TWCP_GROUP4;
}

bool writesFileFormat(TW_UINT16 format) {
    return format == TWFF_BMP || format == TWFF_TIFF || format == TWFF_JFIF;
}

std::optional<std::vector<uint8_t>> encodeJpeg(const ScanSettings& s, int quality) {
    const PageSize size = pageSize(s);
    const bool rgb = s.pixelType == TWPT_RGB;
    jpeg_compress_struct jpeg;
    jpeg_error_mgr errors;
    jpeg.err = jpeg_std_error(&errors);
    jpeg_create_compress(&jpeg);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&jpeg, &buffer, &length);
    jpeg.image_width = static_cast<JDIMENSION>(size.width);
    jpeg.image_height = static_cast<JDIMENSION>(size.height);
    jpeg.input_components = rgb ? 3 : 1;
    jpeg.in_color_space = rgb ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&jpeg);
    jpeg_set_quality(&jpeg, quality, TRUE);
    jpeg.density_unit = 1;  // dots per inch
    jpeg.X_density = static_cast<UINT16>(s.xResolution);
    jpeg.Y_density = static_cast<UINT16>(s.yResolution);
    jpeg_start_compress(&jpeg, TRUE);
    std::vector<uint8_t> row(packedRowBytes(s, size.width));
    while (jpeg.next_scanline < jpeg.image_height) {
        renderMemoryRow(s, static_cast<int32_t>(jpeg.next_scanline), row.data());
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&jpeg, rows, 1);
    }
    jpeg_finish_compress(&jpeg);
    std::vector<uint8_t> stream(buffer, buffer + length);
    jpeg_destroy_compress(&jpeg);
    std::free(buffer);
    return stream;
}

std::optional<std::vector<uint8_t>> encodeGroup4(const ScanSettings& s) {
    MemoryFile file;
    if (!tiffOf(s, file)) {
        return std::nullopt;
    }
    TiffFile tiff(file.open("r"));
    if (!tiff || TIFFNumberOfStrips(tiff.get()) != 1) {
        return std::nullopt;
    }
    const uint64_t* counts = nullptr;
    if (!TIFFGetField(tiff.get(), TIFFTAG_STRIPBYTECOUNTS, &counts) || counts == nullptr) {
        return std::nullopt;
    }
    std::vector<uint8_t> data(static_cast<size_t>(counts[0]));
    if (TIFFReadRawStrip(tiff.get(), 0, data.data(), static_cast<tmsize_t>(data.size())) !=
        static_cast<tmsize_t>(data.size())) {
        return std::nullopt;
    }
    return data;
}

std::optional<std::vector<uint8_t>> encodeTiff(const ScanSettings& s) {
    MemoryFile file;
    return tiffOf(s, file);
}

}  // namespace vscan
