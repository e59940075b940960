#include "memory_side.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "handle_bits.h"
#include "image_info.h"
#include "page_encode.h"
#include "page_render.h"

namespace vscan {
namespace {

constexpr TW_UINT32 kNoLimit = 0xFFFFFFFF;
constexpr TW_UINT32 kPreferredBuffer = 64 * 1024;

size_t paddedTo32Bits(size_t bytes) { return (bytes + 3) & ~size_t{3}; }

// Copies `columns` packed pixels of `bits` each from pixel `x` of `from` to the start of `to`.
void copyPixels(const uint8_t* from, size_t x, size_t columns, uint16_t bits, uint8_t* to) {
    if (bits % 8 == 0) {
        std::memcpy(to, from + x * bits / 8, columns * bits / 8);
        return;
    }
    std::memset(to, 0, (columns * bits + 7) / 8);
    for (size_t i = 0; i < columns; ++i) {
        const size_t at = x + i;
        if (from[at / 8] & (0x80 >> (at % 8))) {
            to[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
        }
    }
}

// The application's buffer while the source writes it: a pointer as it is, a handle locked.
class BufferMemory {
  public:
    explicit BufferMemory(const TW_MEMORY& memory) {
        if (memory.Flags & TWMF_POINTER) {
            bytes_ = static_cast<uint8_t*>(memory.TheMem);
        } else if (memory.Flags & TWMF_HANDLE) {
            handle_ = handleOfMemref(memory.TheMem);
            const bool bigEnough = GlobalSize(handle_) >= memory.Length;
            bytes_ = bigEnough ? static_cast<uint8_t*>(GlobalLock(handle_)) : nullptr;
            locked_ = bytes_ != nullptr;
        }
    }
    ~BufferMemory() {
        if (locked_) {
            GlobalUnlock(handle_);
        }
    }
    BufferMemory(const BufferMemory&) = delete;
    BufferMemory& operator=(const BufferMemory&) = delete;
    uint8_t* bytes() const { return bytes_; }

  private:
    uint8_t* bytes_ = nullptr;
    TW_HANDLE handle_ = {};
    bool locked_ = false;
};

}  // namespace

TW_UINT16 effectiveCompression(const ScanSettings& s) {
    const bool fits = (s.compression == TWCP_JPEG && s.pixelType != TWPT_BW) ||
                      (s.compression == TWCP_GROUP4 && s.pixelType == TWPT_BW);
    return fits && encodes(s.compression) ? s.compression : TWCP_NONE;
}

TW_IMAGEINFO describePage(const ScanSettings& s, const Script& script) {
    TW_IMAGEINFO info = chartImageInfo(s);
    info.ImageLength =
        static_cast<TW_INT32>(script.knob("imageinfo.length").value_or(info.ImageLength));
    info.Planar = script.knob("imageinfo.planar").value_or(0) != 0 ? 1 : 0;
    info.Compression = effectiveCompression(s);
    return info;
}

TW_UINT16 MemorySide::setup(TW_UINT16 msg, TW_SETUPMEMXFER* sizes,
                            const ScanSettings& settings) const {
    if (msg != MSG_GET || sizes == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    if (!core_.inStates(4, 6)) {
        return core_.fail(TWCC_SEQERROR);
    }
    // The least that holds a strip's row, or one whole tile.
    const Script& script = core_.script;
    const int64_t tile = script.knob("memory.tile").value_or(0);
    const auto side = static_cast<int32_t>(std::clamp<int64_t>(tile, 0, 1 << 20));
    const auto row = tile > 0 ? packedRowBytes(settings, side) * static_cast<size_t>(side)
                              : paddedTo32Bits(packedRowBytes(settings, pageSize(settings).width));
    sizes->MinBufSize = static_cast<TW_UINT32>(script.knob("memory.min_buffer").value_or(row));
    sizes->MaxBufSize = static_cast<TW_UINT32>(script.knob("memory.max_buffer").value_or(kNoLimit));
    sizes->Preferred = static_cast<TW_UINT32>(
        script.knob("memory.preferred_buffer").value_or(std::max<size_t>(row, kPreferredBuffer)));
    return TWRC_SUCCESS;
}

void MemorySide::restart() {
    buffers_ = 0;
    nextRow_ = 0;
    nextColumn_ = 0;
    bandTop_ = -1;
    band_.clear();
    encoded_.clear();
    encodedReady_ = false;
    encodedSent_ = 0;
}

TW_UINT16 MemorySide::transfer(TW_IMAGEMEMXFER* strip, const ScanSettings& settings,
                               bool& pageDone) {
    pageDone = false;
    if (strip == nullptr) {
        return core_.fail(TWCC_BADPROTOCOL);
    }
    if (buffers_ == 0 && core_.script.knob("memory.fail_first").value_or(0) != 0) {
        return core_.fail(TWCC_OPERATIONERROR);
    }
    const BufferMemory memory(strip->Memory);
    if (memory.bytes() == nullptr || strip->Memory.Length == 0) {
        return core_.fail(TWCC_BADVALUE);
    }
    bool last = false;
    const TW_UINT16 result =
        effectiveCompression(settings) == TWCP_NONE
            ? rowsInto(*strip, memory.bytes(), strip->Memory.Length, settings, last)
            : bytesInto(*strip, memory.bytes(), strip->Memory.Length, settings, last);
    if (result != TWRC_SUCCESS) {
        return result;
    }
    ++buffers_;
    if (core_.script.knob("memory.overrun").value_or(0) == static_cast<int64_t>(buffers_)) {
        // Counts that claim more than the buffer holds.
        const TW_UINT32 bytesPerRow = strip->BytesPerRow;  // packed: copied before std::max
        strip->Rows = strip->Memory.Length / std::max<TW_UINT32>(bytesPerRow, 1) + 1;
        strip->BytesWritten = strip->Memory.Length;
        if (strip->Compression != TWCP_NONE) {
            strip->BytesWritten = strip->Memory.Length + 1;
        }
    }
    pageDone = last;
    return last ? TWRC_XFERDONE : TWRC_SUCCESS;
}

TW_UINT16 MemorySide::rowsInto(TW_IMAGEMEMXFER& strip, uint8_t* memory, uint32_t length,
                               const ScanSettings& settings, bool& last) {
    const PageSize size = pageSize(settings);
    const uint16_t bits = pixelBits(settings);
    const int64_t tile = core_.script.knob("memory.tile").value_or(0);
    strip.Compression = TWCP_NONE;
    if (tile <= 0) {
        const size_t bytesPerRow = paddedTo32Bits(packedRowBytes(settings, size.width));
        const int64_t stripRows = core_.script.knob("memory.strip_rows").value_or(size.height);
        const auto rows = static_cast<int32_t>(std::min<int64_t>(
            {size.height - nextRow_, static_cast<int64_t>(length / bytesPerRow), stripRows}));
        if (rows <= 0) {
            return core_.fail(TWCC_BADVALUE);
        }
        for (int32_t r = 0; r < rows; ++r) {
            uint8_t* row = memory + static_cast<size_t>(r) * bytesPerRow;
            std::memset(row, 0, bytesPerRow);
            renderMemoryRow(settings, nextRow_ + r, row);
        }
        strip.BytesPerRow = static_cast<TW_UINT32>(bytesPerRow);
        strip.Columns = static_cast<TW_UINT32>(size.width);
        strip.Rows = static_cast<TW_UINT32>(rows);
        strip.XOffset = 0;
        strip.YOffset = static_cast<TW_UINT32>(nextRow_);
        strip.BytesWritten = static_cast<TW_UINT32>(bytesPerRow * static_cast<size_t>(rows));
        nextRow_ += rows;
    } else {
        const auto side = static_cast<int32_t>(std::min<int64_t>(tile, 1 << 20));
        // A tile is whole in one buffer: a source sizes its tiles to the buffer it was given.
        const int32_t rows = std::min(side, size.height - nextRow_);
        const int32_t columns = std::min(side, size.width - nextColumn_);
        const size_t bytesPerRow = packedRowBytes(settings, columns);
        if (bytesPerRow * static_cast<size_t>(rows) > length) {
            return core_.fail(TWCC_BADVALUE);
        }
        const auto& band = bandRows(settings, nextRow_, rows);
        const size_t bandRowBytes = packedRowBytes(settings, size.width);
        for (int32_t r = 0; r < rows; ++r) {
            copyPixels(band.data() + static_cast<size_t>(r) * bandRowBytes,
                       static_cast<size_t>(nextColumn_), static_cast<size_t>(columns), bits,
                       memory + static_cast<size_t>(r) * bytesPerRow);
        }
        strip.BytesPerRow = static_cast<TW_UINT32>(bytesPerRow);
        strip.Columns = static_cast<TW_UINT32>(columns);
        strip.Rows = static_cast<TW_UINT32>(rows);
        strip.XOffset = static_cast<TW_UINT32>(nextColumn_);
        strip.YOffset = static_cast<TW_UINT32>(nextRow_);
        strip.BytesWritten = static_cast<TW_UINT32>(bytesPerRow * static_cast<size_t>(rows));
        nextColumn_ += columns;
        if (nextColumn_ >= size.width) {
            nextColumn_ = 0;
            nextRow_ += rows;
        }
    }
    last = nextRow_ >= size.height;
    return TWRC_SUCCESS;
}

const std::vector<uint8_t>& MemorySide::bandRows(const ScanSettings& settings, int32_t top,
                                                 int32_t rows) {
    if (bandTop_ != top) {
        const size_t rowBytes = packedRowBytes(settings, pageSize(settings).width);
        band_.assign(rowBytes * static_cast<size_t>(rows), 0);
        for (int32_t r = 0; r < rows; ++r) {
            renderMemoryRow(settings, top + r, band_.data() + static_cast<size_t>(r) * rowBytes);
        }
        bandTop_ = top;
    }
    return band_;
}

TW_UINT16 MemorySide::bytesInto(TW_IMAGEMEMXFER& strip, uint8_t* memory, uint32_t length,
                                const ScanSettings& settings, bool& last) {
    const TW_UINT16 compression = effectiveCompression(settings);
    if (!encodedReady_) {
        auto bytes = compression == TWCP_JPEG ? encodeJpeg(settings, settings.jpegQuality)
                                              : encodeGroup4(settings);
        if (!bytes) {
            return core_.fail(TWCC_BUMMER);
        }
        encoded_ = std::move(*bytes);
        encodedReady_ = true;
    }
    const size_t chunk = std::min<size_t>(length, encoded_.size() - encodedSent_);
    std::memcpy(memory, encoded_.data() + encodedSent_, chunk);
    encodedSent_ += chunk;
    last = encodedSent_ == encoded_.size();
    const PageSize size = pageSize(settings);
    strip.Compression = compression;
    strip.BytesPerRow = 0;
    strip.Columns = static_cast<TW_UINT32>(size.width);
    strip.Rows = last ? static_cast<TW_UINT32>(size.height) : 0;
    strip.XOffset = 0;
    strip.YOffset = 0;
    strip.BytesWritten = static_cast<TW_UINT32>(chunk);
    return TWRC_SUCCESS;
}

}  // namespace vscan
