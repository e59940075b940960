#include "image/strip_assembler.h"

#include <algorithm>
#include <cstring>

#include "image/messages.h"

namespace {

[[noreturn]] void refuse(const char* text, const char* reason) {
    throw MessageFailure{text, reason};
}

// Rows made and handed over at once, so that a sink is called per strip, not per row.
constexpr std::uint64_t kBatchBytes = std::uint64_t{1} << 20;

// Copies `columns` pixels of `bits` each from the start of `from` to pixel `x` of `to`. Pixels of
// fewer than 8 bits may start anywhere in a byte.
void copyPixels(const std::uint8_t* from, std::uint8_t* to, std::uint64_t x, std::uint64_t columns,
                std::uint16_t bits) {
    if (bits % 8 == 0) {
        std::memcpy(to + x * (bits / 8), from, columns * (bits / 8));
        return;
    }
    const unsigned mask = (1u << bits) - 1;
    for (std::uint64_t i = 0; i < columns; ++i) {
        const std::uint64_t fromBit = i * bits;
        const std::uint64_t toBit = (x + i) * bits;
        const unsigned value = from[fromBit / 8] >> (8 - bits - fromBit % 8) & mask;
        const unsigned shift = 8 - bits - static_cast<unsigned>(toBit % 8);
        std::uint8_t& target = to[toBit / 8];
        target = static_cast<std::uint8_t>((target & ~(mask << shift)) | value << shift);
    }
}

}  // namespace

StripAssembler::StripAssembler(const StripFormat& format, PageSink& sink)
    : format_(format),
      sink_(sink),
      storedRowBytes_(packedBytes(static_cast<std::uint64_t>(format.width), format.sourceBits)),
      rowBytes_(packedBytes(static_cast<std::uint64_t>(format.width), format.rowBits)) {}

// Every number is widened to 64 bits before any arithmetic, and every room test subtracts.
StripAssembler::Placement StripAssembler::check(const TW_IMAGEMEMXFER& strip,
                                                std::uint64_t bufferSize) const {
    if (strip.Compression != TWCP_NONE) {
        refuse(kStripCompressed, "Compression is not TWCP_NONE");
    }
    const Placement at{strip.XOffset, strip.YOffset, strip.Columns, strip.Rows, strip.BytesPerRow};
    const auto width = static_cast<std::uint64_t>(format_.width);
    if (at.x >= width || at.columns > width - at.x) {
        refuse(kStripOutsideImage, "its columns reach past the image's width");
    }
    if (at.y > kMaxRows || at.rows > kMaxRows - at.y) {
        refuse(kStripOutsideImage, "its rows reach past the most rows a page may have");
    }
    const std::uint64_t rowBytes = packedBytes(at.columns, format_.sourceBits);
    if (at.bytesPerRow < rowBytes) {
        refuse(kStripOutsideBuffer, "BytesPerRow is less than its columns need");
    }
    const std::uint64_t written = strip.BytesWritten;
    if (written > bufferSize) {
        refuse(kStripOutsideBuffer, "BytesWritten is more than the buffer holds");
    }
    // Every row but the last is passed at BytesPerRow; of the last only its pixels are read.
    if (rowBytes > written ||
        (at.rows > 1 && at.bytesPerRow > (written - rowBytes) / (at.rows - 1))) {
        refuse(kStripOutsideBuffer, "its rows need more bytes than the source wrote");
    }
    if (at.y < next_ || at.y - next_ > filled_.size()) {
        refuse(kStripsDoNotJoin, "its first row is one that came before, or leaves rows out");
    }
    for (std::uint64_t r = 0; r < at.rows; ++r) {
        const std::uint64_t pendingRow = at.y - next_ + r;
        const std::uint32_t filled = pendingRow < filled_.size() ? filled_[pendingRow] : 0;
        if (filled != at.x) {
            refuse(kStripsDoNotJoin, "its columns do not continue the rows it covers");
        }
        if (pendingRow >= filled_.size()) {
            break;  // the rows below are new, and so empty too
        }
    }
    const std::uint64_t pendingRows =
        std::max<std::uint64_t>(filled_.size(), at.y - next_ + at.rows);
    if (!(at.x == 0 && at.columns == width && filled_.empty() && at.y == next_) &&
        pendingRows > kMaxPendingBytes / std::max<std::uint64_t>(storedRowBytes_, 1)) {
        refuse(kStripOutsideBuffer,
               "its tiles would keep more rows waiting than the library holds");
    }
    return at;
}

bool StripAssembler::add(const TW_IMAGEMEMXFER& strip, const std::uint8_t* buffer,
                         std::uint64_t bufferSize) {
    if (strip.Rows == 0 || strip.Columns == 0) {
        return true;  // nothing in it, as some sources send with the image's last call
    }
    const Placement at = check(strip, bufferSize);
    if (at.x == 0 && at.columns == static_cast<std::uint64_t>(format_.width) && filled_.empty() &&
        at.y == next_) {
        // Whole rows that join the last one: straight from the buffer.
        if (!emit(at.y, at.rows, buffer, at.bytesPerRow)) {
            return false;
        }
        next_ += at.rows;
        return true;
    }
    place(at, buffer);
    return emitCompleteRows();
}

void StripAssembler::place(const Placement& at, const std::uint8_t* buffer) {
    const std::uint64_t rowsNeeded = at.y - next_ + at.rows;
    if (rowsNeeded > filled_.size()) {
        filled_.resize(rowsNeeded, 0);
        pending_.resize(rowsNeeded * storedRowBytes_, 0);
    }
    for (std::uint64_t r = 0; r < at.rows; ++r) {
        const std::uint64_t pendingRow = at.y - next_ + r;
        copyPixels(buffer + r * at.bytesPerRow, pending_.data() + pendingRow * storedRowBytes_,
                   at.x, at.columns, format_.sourceBits);
        filled_[pendingRow] += at.columns;
    }
}

bool StripAssembler::emitCompleteRows() {
    std::uint32_t complete = 0;
    while (complete < filled_.size() &&
           filled_[complete] == static_cast<std::uint32_t>(format_.width)) {
        ++complete;
    }
    if (complete == 0) {
        return true;
    }
    if (!emit(next_, complete, pending_.data(), storedRowBytes_)) {
        return false;
    }
    next_ += complete;
    filled_.erase(filled_.begin(), filled_.begin() + complete);
    pending_.erase(pending_.begin(),
                   pending_.begin() + static_cast<std::ptrdiff_t>(complete * storedRowBytes_));
    return true;
}

bool StripAssembler::emit(std::uint32_t y, std::uint32_t count, const std::uint8_t* stored,
                          std::uint64_t storedStride) {
    const std::uint64_t batchRows = std::max<std::uint64_t>(1, kBatchBytes / rowBytes_);
    for (std::uint32_t done = 0; done < count;) {
        const auto rows =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(batchRows, count - done));
        converted_.resize(rows * rowBytes_);
        for (std::uint32_t r = 0; r < rows; ++r) {
            convertStripRow(format_, stored + (done + r) * storedStride,
                            converted_.data() + r * rowBytes_);
        }
        if (!sink_.rows(y + done, rows, converted_.data(),
                        static_cast<std::ptrdiff_t>(rowBytes_))) {
            return false;
        }
        done += rows;
    }
    return true;
}

std::uint32_t StripAssembler::finish() const {
    if (!filled_.empty()) {
        refuse(kImageUnfinished, "a row of tiles was begun and not finished");
    }
    return next_;
}
