// A page sink for the tests: keeps the rows a transfer delivered, and tells each pixel's color the
// way the layout gives it, to compare with the chart the virtual scanner scans.
#ifndef SCANLINK_TESTS_PAGE_ROWS_H
#define SCANLINK_TESTS_PAGE_ROWS_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/page_sink.h"

class PageRows : public PageSink {
  public:
    bool begin(const DibLayout& layout, std::uint32_t heightHint) override;
    bool rows(std::uint32_t y, std::uint32_t count, const std::uint8_t* first,
              std::ptrdiff_t stride) override;
    bool end(std::uint32_t height) override;
    bool encoded(EncodedPage page) override;

    // 0xRRGGBB of pixel (x, y).
    std::uint32_t rgb(std::int32_t x, std::int32_t y) const;
    // The first pixel that differs from the virtual scanner's expected page, or "" when none.
    std::string differenceFromExpectedPage() const;

    // Runs before each batch of rows is kept; false stops the transfer.
    std::function<bool(std::uint32_t batch)> beforeRows;

    DibLayout layout{};
    std::vector<std::uint8_t> colorTable;
    std::uint32_t heightHint = 0;
    std::uint32_t height = 0;
    bool ended = false;
    std::vector<std::vector<std::uint8_t>> stored;
    std::vector<EncodedPage> encodedPages;

  private:
    std::uint32_t batches_ = 0;
};

#endif
