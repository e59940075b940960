#include "image/dib_layout.h"

#include <limits>

#include "image/messages.h"

namespace {

// BITMAPINFOHEADER field offsets; the fields that are not listed are never read.
constexpr std::size_t kBiSize = 0;
constexpr std::size_t kBiWidth = 4;
constexpr std::size_t kBiHeight = 8;
constexpr std::size_t kBiBitCount = 14;
constexpr std::size_t kBiCompression = 16;
constexpr std::size_t kBiClrUsed = 32;

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitFields = 3;
constexpr std::uint64_t kStoredMasksEnd = kInfoHeaderSize + 3 * 4;
constexpr std::uint64_t kRgbQuadSize = 4;

// The masks a BI_RGB image without a color table implies.
struct ImpliedMasks {
    std::uint16_t bitCount;
    std::uint32_t red;
    std::uint32_t green;
    std::uint32_t blue;
};
constexpr ImpliedMasks kImpliedMasks[] = {
    {16, 0x7C00, 0x03E0, 0x001F},
    {24, 0xFF0000, 0x00FF00, 0x0000FF},
    {32, 0xFF0000, 0x00FF00, 0x0000FF},
};

std::uint16_t readU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t readU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::int32_t readI32(const std::uint8_t* p) { return static_cast<std::int32_t>(readU32(p)); }

bool isIndexedBitCount(std::uint16_t bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8;
}

bool isAcceptedBitCount(std::uint16_t bitCount) {
    return isIndexedBitCount(bitCount) || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

[[noreturn]] void refuse(const char* text, const char* reason) {
    throw MessageFailure{text, reason};
}

// The header fields as stored; nothing here is trusted yet.
struct InfoHeader {
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t clrUsed;
};

// The header fields that decide whether the DIB is one this library reads at all, tested in the
// order that decides which message a DIB with several faults gets.
InfoHeader readAcceptedHeader(const std::uint8_t* block, std::size_t blockSize) {
    if (block == nullptr || blockSize < kBiSize + 4) {
        refuse(kInvalidImage, "no block, or one too small for the header's size field");
    }
    if (readU32(block + kBiSize) != kInfoHeaderSize) {
        refuse(kUnsupportedImageType, "the header is not a 40-byte BITMAPINFOHEADER");
    }
    if (blockSize < kInfoHeaderSize) {
        refuse(kInvalidImage, "the block is shorter than its header");
    }
    const InfoHeader header{readI32(block + kBiWidth), readI32(block + kBiHeight),
                            readU16(block + kBiBitCount), readU32(block + kBiCompression),
                            readU32(block + kBiClrUsed)};
    if (header.compression != kBiRgb && header.compression != kBiBitFields) {
        refuse(kUnsupportedCompression, "compressed otherwise than BI_RGB or BI_BITFIELDS");
    }
    if (!isAcceptedBitCount(header.bitCount)) {
        refuse(kUnsupportedImageType, "bits per pixel other than 1, 4, 8, 16, 24 or 32");
    }
    return header;
}

// Bytes from one stored row to the next: the row's bits rounded up to whole 32-bit words. A
// negative width has no pixels to read, so its rows take no room.
std::uint64_t strideOf(std::int32_t width, std::uint16_t bitCount) {
    if (width <= 0) {
        return 0;
    }
    return (std::uint64_t{bitCount} * static_cast<std::uint64_t>(width) + 31) / 32 * 4;
}

// Bytes of one row that the row decoders read: up to the last pixel's last byte.
std::uint64_t readBytesOf(std::int32_t width, std::uint16_t bitCount) {
    if (width <= 0) {
        return 0;
    }
    return (std::uint64_t{bitCount} * static_cast<std::uint64_t>(width) + 7) / 8;
}

}  // namespace

DibLayout decodeDibLayout(const void* dib, std::size_t blockSize) {
    const auto* block = static_cast<const std::uint8_t*>(dib);
    const InfoHeader header = readAcceptedHeader(block, blockSize);

    DibLayout layout{};
    layout.width = header.width;
    layout.height = header.height;
    layout.bitCount = header.bitCount;
    layout.bitFields = header.compression == kBiBitFields;
    layout.indexed = !layout.bitFields && isIndexedBitCount(header.bitCount);
    layout.stride = strideOf(header.width, header.bitCount);

    // Setting dimensions needs the row count as a Java int, so INT32_MIN has no row count.
    if (header.height == std::numeric_limits<std::int32_t>::min()) {
        refuse(kInvalidImage, "a height of -2^31, which has no row count");
    }
    layout.rowCount =
        static_cast<std::uint32_t>(header.height < 0 ? -header.height : header.height);

    std::uint64_t tableEntries = header.clrUsed;
    if (layout.indexed) {
        layout.colorCount = header.clrUsed != 0 ? header.clrUsed : 1u << header.bitCount;
        tableEntries = layout.colorCount;
    }
    const std::uint64_t tableOffset = layout.bitFields ? kStoredMasksEnd : kInfoHeaderSize;
    // At most 52 + 4 * (2^32 - 1): no wrap in 64 bits. The rows are checked by division, as
    // stride times the row count may not fit.
    const std::uint64_t pixelOffset = tableOffset + kRgbQuadSize * tableEntries;
    if (pixelOffset > blockSize) {
        refuse(kInvalidImage, "the masks or the color table reach past the block");
    }
    // Every stored row but the last in the block is passed at its full stride; of the last one
    // only the bytes up to its last pixel are read, so its padding need not be there.
    const std::uint64_t pixelRoom = blockSize - pixelOffset;
    const std::uint64_t lastRowBytes = readBytesOf(header.width, header.bitCount);
    if (layout.rowCount != 0 && lastRowBytes > pixelRoom) {
        refuse(kInvalidImage, "the rows reach past the block");
    }
    const std::uint32_t fullRows = layout.rowCount != 0 ? layout.rowCount - 1 : 0;
    if (fullRows != 0 && layout.stride > (pixelRoom - lastRowBytes) / fullRows) {
        refuse(kInvalidImage, "the rows reach past the block");
    }

    if (layout.indexed) {
        layout.colorTable = block + kInfoHeaderSize;
    } else if (layout.bitFields) {
        layout.redMask = readU32(block + kInfoHeaderSize);
        layout.greenMask = readU32(block + kInfoHeaderSize + 4);
        layout.blueMask = readU32(block + kInfoHeaderSize + 8);
    } else {
        for (const ImpliedMasks& masks : kImpliedMasks) {
            if (masks.bitCount == header.bitCount) {
                layout.redMask = masks.red;
                layout.greenMask = masks.green;
                layout.blueMask = masks.blue;
            }
        }
    }
    layout.pixels = block + static_cast<std::size_t>(pixelOffset);
    return layout;
}

const std::uint8_t* dibRowStart(const DibLayout& layout, std::uint32_t y) {
    const std::uint32_t storedRow = layout.height > 0 ? layout.rowCount - 1 - y : y;
    // Within the block: decodeDibLayout checked the room for every stored row it reads.
    return layout.pixels + static_cast<std::size_t>(storedRow * layout.stride);
}
