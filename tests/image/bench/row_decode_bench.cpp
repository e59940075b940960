// Row decoding per bit depth against memcpy of the same stored bytes, in one run, with the ratio
// of the two printed at the end. A row is 2550 pixels: a letter page's width at 300 dpi.
#include <jni.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dib_bytes.h"
#include "image/dib_layout.h"
#include "image/dib_rows.h"
#include "ratio_reporter.h"

namespace {

constexpr std::int32_t kWidth = 2550;

struct DepthCase {
    const char* name;
    std::uint16_t bitCount;
    std::uint32_t compression;
};

constexpr DepthCase kCases[] = {
    {"1-bit", 1, kBiRgb},
    {"4-bit", 4, kBiRgb},
    {"8-bit", 8, kBiRgb},
    {"16-bit", 16, kBiRgb},
    {"24-bit", 24, kBiRgb},
    {"32-bit", 32, kBiRgb},
    {"32-bit-bitfields", 32, kBiBitFields},
};

// A one-row DIB of the case, its pixels a byte pattern that no decoder could shortcut.
std::vector<std::uint8_t> oneRowDib(const DepthCase& c) {
    const std::uint32_t colors = c.bitCount <= 8 ? 1u << c.bitCount : 0;
    std::vector<std::uint8_t> bytes = infoHeader(kWidth, 1, c.bitCount, c.compression, colors);
    if (c.compression == kBiBitFields) {
        appendU32(bytes, 0xFFE00000);
        appendU32(bytes, 0x001FFC00);
        appendU32(bytes, 0x000003FF);
    }
    appendZeros(bytes, std::size_t{colors} * 4);
    const std::size_t stride = (std::size_t{c.bitCount} * kWidth + 31) / 32 * 4;
    for (std::size_t i = 0; i < stride; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(i * 131 + 17));
    }
    return bytes;
}

void unpackRow(benchmark::State& state, const DepthCase& c) {
    const std::vector<std::uint8_t> dib = oneRowDib(c);
    const DibLayout layout = decodeDibLayout(dib.data(), dib.size());
    const std::uint8_t* row = dibRowStart(layout, 0);
    std::vector<jbyte> bytesOut(kWidth);
    std::vector<jint> intsOut(kWidth);
    for (auto _ : state) {
        if (layout.bitCount > 8) {
            unpackDirectRow(layout, row, intsOut.data());
            benchmark::DoNotOptimize(intsOut.data());
        } else {
            unpackIndexRow(layout, row, bytesOut.data());
            benchmark::DoNotOptimize(bytesOut.data());
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * layout.stride));
}

void copyRow(benchmark::State& state, const DepthCase& c) {
    const std::vector<std::uint8_t> dib = oneRowDib(c);
    const DibLayout layout = decodeDibLayout(dib.data(), dib.size());
    const std::uint8_t* row = dibRowStart(layout, 0);
    std::vector<std::uint8_t> out(layout.stride);
    for (auto _ : state) {
        std::memcpy(out.data(), row, out.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * layout.stride));
}

}  // namespace

int main(int argc, char** argv) {
    for (const DepthCase& c : kCases) {
        benchmark::RegisterBenchmark((std::string("unpack/") + c.name).c_str(), unpackRow, c);
        benchmark::RegisterBenchmark((std::string("memcpy/") + c.name).c_str(), copyRow, c);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    std::vector<RatioReporter::Ratio> ratios;
    for (const DepthCase& c : kCases) {
        ratios.push_back(
            {c.name, std::string("unpack/") + c.name, std::string("memcpy/") + c.name});
    }
    RatioReporter reporter("Decoding time over memcpy time of the same stored row:",
                           std::move(ratios));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
