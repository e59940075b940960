#include "image/dib_feed.h"

bool feedDib(const DibLayout& layout, PageSink& sink) {
    if (!sink.begin(layout, layout.rowCount)) {
        return false;
    }
    if (layout.rowCount != 0) {
        // Rows stored bottom-up are walked backwards from the top one.
        const auto stride = static_cast<std::ptrdiff_t>(layout.stride);
        if (!sink.rows(0, layout.rowCount, dibRowStart(layout, 0),
                       layout.height > 0 ? -stride : stride)) {
            return false;
        }
    }
    return sink.end(layout.rowCount);
}
