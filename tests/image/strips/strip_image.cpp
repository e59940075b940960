#include "strip_image.h"

#include <random>

StripImage StripImage::random(std::int32_t width, std::int32_t height, TW_INT16 pixelType,
                              TW_INT16 samples, TW_INT16 bitsPerSample, unsigned seed) {
    StripImage image{width, height, pixelType, samples, bitsPerSample, {}};
    std::mt19937 generator(seed);
    std::uniform_int_distribution<unsigned> value(0, (1u << bitsPerSample) - 1);
    image.values.resize(static_cast<std::size_t>(width) * height * samples);
    for (std::uint16_t& v : image.values) {
        v = static_cast<std::uint16_t>(value(generator));
    }
    return image;
}

TW_IMAGEINFO StripImage::info(TW_INT32 statedLength) const {
    TW_IMAGEINFO info = {};
    info.ImageWidth = width;
    info.ImageLength = statedLength;
    info.SamplesPerPixel = samples;
    for (TW_INT16 i = 0; i < samples; ++i) {
        info.BitsPerSample[i] = bitsPerSample;
    }
    info.BitsPerPixel = static_cast<TW_INT16>(samples * bitsPerSample);
    info.PixelType = pixelType;
    info.Compression = TWCP_NONE;
    return info;
}

std::vector<std::uint8_t> StripImage::packed(std::int32_t x, std::int32_t y,
                                             std::int32_t columns) const {
    const unsigned bits = static_cast<unsigned>(samples * bitsPerSample);
    std::vector<std::uint8_t> out((static_cast<std::size_t>(columns) * bits + 7) / 8, 0);
    std::size_t bit = 0;
    for (std::int32_t c = 0; c < columns; ++c) {
        for (TW_INT16 s = 0; s < samples; ++s) {
            const std::uint16_t v =
                values[(static_cast<std::size_t>(y) * width + x + c) * samples + s];
            if (bitsPerSample == 16) {
                out[bit / 8] = static_cast<std::uint8_t>(v);
                out[bit / 8 + 1] = static_cast<std::uint8_t>(v >> 8);
            } else if (bitsPerSample == 8) {
                out[bit / 8] = static_cast<std::uint8_t>(v);
            } else {
                out[bit / 8] |= static_cast<std::uint8_t>(v << (8 - bitsPerSample - bit % 8));
            }
            bit += static_cast<std::size_t>(bitsPerSample);
        }
    }
    return out;
}

std::vector<std::uint8_t> StripImage::dibRow(std::int32_t y) const {
    const auto at = [&](std::int32_t x, TW_INT16 s) {
        return values[(static_cast<std::size_t>(y) * width + x) * samples + s];
    };
    std::vector<std::uint8_t> out;
    if (samples == 3) {
        for (std::int32_t x = 0; x < width; ++x) {
            for (TW_INT16 s = 2; s >= 0; --s) {
                const std::uint16_t v = at(x, s);
                out.push_back(static_cast<std::uint8_t>(bitsPerSample == 16 ? v >> 8 : v));
            }
        }
    } else if (bitsPerSample == 16) {
        for (std::int32_t x = 0; x < width; ++x) {
            out.push_back(static_cast<std::uint8_t>(at(x, 0) >> 8));
        }
    } else {
        out = packed(0, y, width);
    }
    return out;
}

namespace {

FilledBuffer fill(const StripImage& image, std::int32_t x, std::int32_t y, std::int32_t columns,
                  std::int32_t rows, std::uint32_t padding) {
    const std::size_t rowBytes = image.packed(x, y, columns).size();
    const std::size_t bytesPerRow = (rowBytes + padding - 1) / padding * padding;
    FilledBuffer buffer{};
    buffer.bytes.assign(bytesPerRow * static_cast<std::size_t>(rows), 0xEE);
    for (std::int32_t r = 0; r < rows; ++r) {
        const auto row = image.packed(x, y + r, columns);
        std::copy(row.begin(), row.end(), buffer.bytes.begin() + r * bytesPerRow);
    }
    buffer.record.Compression = TWCP_NONE;
    buffer.record.BytesPerRow = static_cast<TW_UINT32>(bytesPerRow);
    buffer.record.Columns = static_cast<TW_UINT32>(columns);
    buffer.record.Rows = static_cast<TW_UINT32>(rows);
    buffer.record.XOffset = static_cast<TW_UINT32>(x);
    buffer.record.YOffset = static_cast<TW_UINT32>(y);
    buffer.record.BytesWritten = static_cast<TW_UINT32>(buffer.bytes.size());
    return buffer;
}

}  // namespace

std::vector<FilledBuffer> cutStrips(const StripImage& image, std::int32_t rows,
                                    std::uint32_t padding) {
    std::vector<FilledBuffer> strips;
    for (std::int32_t y = 0; y < image.height; y += rows) {
        strips.push_back(fill(image, 0, y, image.width, std::min(rows, image.height - y), padding));
    }
    return strips;
}

std::vector<FilledBuffer> cutTiles(const StripImage& image, std::int32_t side) {
    std::vector<FilledBuffer> tiles;
    for (std::int32_t y = 0; y < image.height; y += side) {
        for (std::int32_t x = 0; x < image.width; x += side) {
            tiles.push_back(fill(image, x, y, std::min(side, image.width - x),
                                 std::min(side, image.height - y), 1));
        }
    }
    return tiles;
}
