// Where a transferred page goes, row by row as its rows complete, or whole when it came encoded.
// Every transfer mechanism feeds one: the native transfer's DIB, the strips and tiles of a memory
// transfer, the file of a file transfer.
#ifndef SCANLINK_IMAGE_PAGE_SINK_H
#define SCANLINK_IMAGE_PAGE_SINK_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/dib_layout.h"

// The formats of a page that arrives encoded, and is kept so.
enum class EncodedFormat : std::int32_t {
    Jpeg = 1,    // a JFIF stream
    Group4 = 2,  // CCITT Group 4 (T.6) data, no header: the page's width says how to read it
    Tiff = 3,    // a TIFF file
    Bmp = 4,     // a BMP file
};

struct EncodedPage {
    EncodedFormat format;
    std::int32_t width;   // pixels; 0 when the encoding says it and the source did not
    std::int32_t height;  // likewise
    std::int32_t bitsPerPixel;
    std::vector<std::uint8_t> bytes;
};

// Each call answers false to stop the transfer (the application failed, or asked to stop).
class PageSink {
  public:
    virtual ~PageSink() = default;
    // The rows that follow are laid out as `layout` describes a DIB's rows (its pixels, stride
    // and height unused); `heightHint` rows are expected, 0 when the source does not know.
    virtual bool begin(const DibLayout& layout, std::uint32_t heightHint) = 0;
    // `count` rows from row `y` (0 the top) down, each `stride` bytes after the one before (a
    // bottom-up DIB's stride is negative).
    virtual bool rows(std::uint32_t y, std::uint32_t count, const std::uint8_t* first,
                      std::ptrdiff_t stride) = 0;
    // The page is complete with `height` rows, those that came.
    virtual bool end(std::uint32_t height) = 0;
    // A page that came encoded, instead of begin, rows and end.
    virtual bool encoded(EncodedPage page) = 0;
};

#endif
