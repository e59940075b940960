// Joins the buffers of an uncompressed memory transfer into rows: strips of whole rows, or tiles
// that each cover part of some rows. Buffers are joined by the numbers each carries (its offsets,
// rows, columns and bytes per row), never by counting calls, and each is checked against the
// buffer it came in and against the image before a byte is read. A row goes to the sink as soon
// as every column of it has come, so at most one row of tiles waits here.
#ifndef SCANLINK_IMAGE_STRIP_ASSEMBLER_H
#define SCANLINK_IMAGE_STRIP_ASSEMBLER_H

#include <cstdint>
#include <vector>

#include "image/page_sink.h"
#include "image/strip_format.h"
#include "twain/twain.h"

class StripAssembler {
  public:
    // `format` must outlive the assembler.
    StripAssembler(const StripFormat& format, PageSink& sink);

    // One buffer as the source filled it: `buffer` holds `bufferSize` bytes. Throws
    // MessageFailure for a buffer whose numbers do not fit the buffer or the image, or that does
    // not join the rows before it. False when the sink asked to stop.
    bool add(const TW_IMAGEMEMXFER& strip, const std::uint8_t* buffer, std::uint64_t bufferSize);

    // The source said the image is complete: the rows that came, which make the page's height.
    // Throws MessageFailure when a row was begun and not finished.
    std::uint32_t finish() const;

    // The most rows a page may have: a Java image's height is an int.
    static constexpr std::uint64_t kMaxRows = 0x7FFFFFFF;
    // The most bytes the rows waiting for tiles may take.
    static constexpr std::uint64_t kMaxPendingBytes = std::uint64_t{256} << 20;

  private:
    struct Placement {
        std::uint32_t x;
        std::uint32_t y;
        std::uint32_t columns;
        std::uint32_t rows;
        std::uint64_t bytesPerRow;
    };
    Placement check(const TW_IMAGEMEMXFER& strip, std::uint64_t bufferSize) const;
    bool emit(std::uint32_t y, std::uint32_t count, const std::uint8_t* stored,
              std::uint64_t storedStride);
    void place(const Placement& at, const std::uint8_t* buffer);
    bool emitCompleteRows();

    const StripFormat& format_;
    PageSink& sink_;
    std::uint64_t storedRowBytes_;  // a full row in the buffers' layout
    std::uint64_t rowBytes_;        // a full row as made
    std::uint32_t next_ = 0;        // rows above it have gone to the sink
    // The rows from next_ down that tiles have begun: their bytes as stored, and how many columns
    // from the left each holds.
    std::vector<std::uint8_t> pending_;
    std::vector<std::uint32_t> filled_;
    std::vector<std::uint8_t> converted_;
};

#endif
