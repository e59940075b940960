// The picture on the virtual scanner's glass: color and gray patches, a gray ramp, fine lines and a
// target ring on a US Letter page, described in inches so that any resolution and frame can scan
// it.
#ifndef VIRTUAL_SCANNER_TEST_CHART_H
#define VIRTUAL_SCANNER_TEST_CHART_H

#include <cstdint>

namespace vscan {

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    bool operator==(const Rgb&) const = default;
};

// The chart's color where the page point (x, y) inches from the top left corner lies. Fine lines
// alternate per scanned pixel, so the sampling resolution (dots per inch) is given too.
Rgb chartColor(double x, double y, double xResolution, double yResolution);

}  // namespace vscan

#endif
