#include "test_chart.h"

#include <cmath>

namespace vscan {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// Eight color patches, 15/16 inch wide, from half an inch in.
constexpr Rgb kColorPatches[] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255}, {0, 255, 255},
                                 {255, 0, 255}, {255, 255, 0}, {0, 0, 0},   {128, 128, 128}};
constexpr uint8_t kGraySteps[] = {0, 51, 102, 153, 204, 255};

constexpr double kLeft = 0.5;
constexpr double kRight = 8.0;

bool within(double v, double low, double high) { return v >= low && v < high; }

Rgb gray(int value) {
    const auto v = static_cast<uint8_t>(value);
    return {v, v, v};
}

// Which scanned pixel the point falls in, counted from `origin`: lines one pixel wide alternate.
bool evenPixel(double v, double origin, double resolution) {
    return static_cast<long long>(std::floor((v - origin) * resolution)) % 2 == 0;
}

}  // namespace

Rgb chartColor(double x, double y, double xResolution, double yResolution) {
    if (!within(x, kLeft, kRight)) {
        return kWhite;
    }
    const double across = (x - kLeft) / (kRight - kLeft);  // 0 to 1 along the chart
    if (within(y, 0.25, 0.75)) {
        return kBlack;  // title bar: shows where the top of the page is
    }
    if (within(y, 1.0, 2.0)) {
        return kColorPatches[static_cast<int>(across * 8)];
    }
    if (within(y, 2.25, 3.0)) {
        return gray(kGraySteps[static_cast<int>(across * 6)]);
    }
    if (within(y, 3.25, 4.0)) {
        return gray(static_cast<int>(across * 256));
    }
    if (within(y, 4.5, 6.0)) {
        if (x < 4.0) {
            return evenPixel(x, kLeft, xResolution) ? kBlack : kWhite;
        }
        if (x >= 4.5) {
            return evenPixel(y, 4.5, yResolution) ? kBlack : kWhite;
        }
        return kWhite;
    }
    if (within(y, 6.5, 7.0)) {
        const int ramp = static_cast<int>(across * 256);
        return {static_cast<uint8_t>(ramp), static_cast<uint8_t>(255 - ramp), 128};
    }
    const double dx = x - 4.25;
    const double dy = y - 8.75;
    const double radius = std::sqrt(dx * dx + dy * dy);
    if (within(radius, 1.4, 1.5) || radius < 0.1) {
        return kBlack;  // target ring with its center dot
    }
    return kWhite;
}

}  // namespace vscan
