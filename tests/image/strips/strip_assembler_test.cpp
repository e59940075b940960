#include "image/strip_assembler.h"

#include <gtest/gtest.h>

#include <string>

#include "image/messages.h"
#include "strip_image.h"

namespace {

// Keeps every row it is given, in the layout it was announced.
class RecordingSink : public PageSink {
  public:
    bool begin(const DibLayout&, std::uint32_t) override { return true; }
    bool rows(std::uint32_t y, std::uint32_t count, const std::uint8_t* first,
              std::ptrdiff_t stride) override {
        EXPECT_EQ(y, rows_.size()) << "rows must come in order, each once";
        for (std::uint32_t r = 0; r < count; ++r) {
            const std::uint8_t* row = first + static_cast<std::ptrdiff_t>(r) * stride;
            rows_.emplace_back(row, row + rowBytes_);
        }
        ++calls_;
        return keepGoing_;
    }
    bool end(std::uint32_t) override { return true; }
    bool encoded(EncodedPage) override { return true; }

    std::size_t rowBytes_ = 0;
    bool keepGoing_ = true;
    unsigned calls_ = 0;
    std::vector<std::vector<std::uint8_t>> rows_;
};

struct Assembly {
    StripFormat format;
    RecordingSink sink;
    StripAssembler assembler;

    explicit Assembly(const TW_IMAGEINFO& info)
        : format(decideStripFormat(info, nullptr, TWPF_CHOCOLATE)), assembler(format, sink) {
        sink.rowBytes_ = rowLayoutOf(format).stride;
    }
    bool add(const FilledBuffer& buffer) {
        return assembler.add(buffer.record, buffer.bytes.data(), buffer.bytes.size());
    }
};

struct Layout {
    const char* name;
    TW_INT16 pixelType;
    TW_INT16 samples;
    TW_INT16 bitsPerSample;
};
constexpr Layout kLayouts[] = {
    {"black and white", TWPT_BW, 1, 1}, {"gray 4", TWPT_GRAY, 1, 4}, {"gray 8", TWPT_GRAY, 1, 8},
    {"gray 16", TWPT_GRAY, 1, 16},      {"RGB 8", TWPT_RGB, 3, 8},   {"RGB 16", TWPT_RGB, 3, 16},
};

void expectRows(const StripImage& image, const RecordingSink& sink, const std::string& what) {
    ASSERT_EQ(sink.rows_.size(), static_cast<std::size_t>(image.height)) << what;
    for (std::int32_t y = 0; y < image.height; ++y) {
        ASSERT_EQ(sink.rows_[static_cast<std::size_t>(y)], image.dibRow(y))
            << what << ", row " << y;
    }
}

TEST(StripAssembler, StripsFromOneRowToTheWholePageMakeEveryRowAtEveryDepth) {
    for (const Layout& layout : kLayouts) {
        const StripImage image =
            StripImage::random(37, 23, layout.pixelType, layout.samples, layout.bitsPerSample, 7);
        for (const std::int32_t rows : {1, 2, 7, 22, 23}) {
            for (const std::uint32_t padding : {1u, 4u}) {
                Assembly assembly(image.info(image.height));
                for (const FilledBuffer& strip : cutStrips(image, rows, padding)) {
                    ASSERT_TRUE(assembly.add(strip));
                }
                const std::string what = std::string(layout.name) + ", strips of " +
                                         std::to_string(rows) + " rows padded to " +
                                         std::to_string(padding);
                EXPECT_EQ(assembly.assembler.finish(), 23u) << what;
                expectRows(image, assembly.sink, what);
            }
        }
    }
}

TEST(StripAssembler, TilesJoinIntoRowsWithPartialTilesAtTheEdges) {
    const std::int32_t sides[] = {16, 20, 64, 512};
    for (const Layout& layout : kLayouts) {
        // 1-bit tiles of side 20 begin at columns 20, 40...: not on a byte's first bit.
        const StripImage image =
            StripImage::random(530, 71, layout.pixelType, layout.samples, layout.bitsPerSample, 3);
        for (const std::int32_t side : sides) {
            Assembly assembly(image.info(image.height));
            for (const FilledBuffer& tile : cutTiles(image, side)) {
                ASSERT_TRUE(assembly.add(tile));
            }
            const std::string what =
                std::string(layout.name) + ", tiles of " + std::to_string(side);
            EXPECT_EQ(assembly.assembler.finish(), 71u) << what;
            expectRows(image, assembly.sink, what);
        }
    }
}

TEST(StripAssembler, ARowOfTilesGoesOnAsSoonAsItsLastTileCame) {
    const StripImage image = StripImage::random(40, 40, TWPT_GRAY, 1, 8, 1);
    Assembly assembly(image.info(40));
    const auto tiles = cutTiles(image, 16);  // three tiles a band
    ASSERT_TRUE(assembly.add(tiles[0]));
    ASSERT_TRUE(assembly.add(tiles[1]));
    EXPECT_TRUE(assembly.sink.rows_.empty());
    ASSERT_TRUE(assembly.add(tiles[2]));
    EXPECT_EQ(assembly.sink.rows_.size(), 16u);
}

TEST(StripAssembler, TheRowsThatCameMakeTheHeightWhateverTheImageInfoSaid) {
    const StripImage image = StripImage::random(9, 12, TWPT_GRAY, 1, 8, 5);
    for (const TW_INT32 stated : {-1, 0, 5, 12, 400}) {
        Assembly assembly(image.info(stated));
        for (const FilledBuffer& strip : cutStrips(image, 5, 4)) {
            ASSERT_TRUE(assembly.add(strip));
        }
        EXPECT_EQ(assembly.assembler.finish(), 12u) << "ImageLength " << stated;
        expectRows(image, assembly.sink, "ImageLength " + std::to_string(stated));
    }
}

TEST(StripAssembler, ASinkThatStopsStopsTheStrip) {
    const StripImage image = StripImage::random(9, 12, TWPT_GRAY, 1, 8, 5);
    Assembly assembly(image.info(12));
    assembly.sink.keepGoing_ = false;
    EXPECT_FALSE(assembly.add(cutStrips(image, 4, 4)[0]));
}

// One change to a well-formed buffer, and what it must be refused with.
struct Fault {
    const char* name;
    void (*bend)(FilledBuffer&);
    const char* refusal;
};
const Fault kFaults[] = {
    {"columns past the width", [](FilledBuffer& b) { b.record.Columns += 1; }, kStripOutsideImage},
    {"an offset past the width", [](FilledBuffer& b) { b.record.XOffset = 10; },
     kStripOutsideImage},
    {"an offset that wraps with its columns",
     [](FilledBuffer& b) { b.record.XOffset = 0xFFFFFFFF; }, kStripOutsideImage},
    {"rows that wrap with the offset", [](FilledBuffer& b) { b.record.YOffset = 0xFFFFFFF0; },
     kStripOutsideImage},
    {"bytes per row below the columns' need", [](FilledBuffer& b) { b.record.BytesPerRow = 8; },
     kStripOutsideBuffer},
    {"more bytes written than the buffer holds",
     [](FilledBuffer& b) { b.record.BytesWritten += 1; }, kStripOutsideBuffer},
    {"rows that need one byte more than were written",
     [](FilledBuffer& b) { b.record.BytesWritten -= 3 + 1; }, kStripOutsideBuffer},
    {"more rows than the buffer holds", [](FilledBuffer& b) { b.record.Rows += 1; },
     kStripOutsideBuffer},
    {"bytes per row so large the rows pass the buffer",
     [](FilledBuffer& b) { b.record.BytesPerRow = 0x7FFFFFFF; }, kStripOutsideBuffer},
    {"a strip that leaves rows out", [](FilledBuffer& b) { b.record.YOffset = 1; },
     kStripsDoNotJoin},
    {"a compressed strip of an uncompressed image",
     [](FilledBuffer& b) { b.record.Compression = TWCP_JPEG; }, kStripCompressed},
};

TEST(StripAssembler, EachLyingOrOverrunningBufferIsRefusedBeforeARowIsRead) {
    // 9 gray pixels a row padded to 12 bytes, 4 rows: the last row needs 9 of its 12 bytes.
    const StripImage image = StripImage::random(9, 4, TWPT_GRAY, 1, 8, 2);
    for (const Fault& fault : kFaults) {
        FilledBuffer strip = cutStrips(image, 4, 4)[0];
        fault.bend(strip);
        Assembly assembly(image.info(4));
        try {
            assembly.add(strip);
            ADD_FAILURE() << fault.name << " was taken";
        } catch (const MessageFailure& failure) {
            EXPECT_STREQ(failure.text, fault.refusal) << fault.name << ": " << failure.reason;
        }
        EXPECT_TRUE(assembly.sink.rows_.empty()) << fault.name;
    }
}

TEST(StripAssembler, TheLastRowNeedsOnlyItsPixelsNotItsPadding) {
    const StripImage image = StripImage::random(9, 4, TWPT_GRAY, 1, 8, 2);
    FilledBuffer strip = cutStrips(image, 4, 4)[0];
    strip.record.BytesWritten -= 3;  // the last row's padding was never written
    strip.bytes.resize(strip.record.BytesWritten);
    Assembly assembly(image.info(4));
    EXPECT_TRUE(assembly.add(strip));
    EXPECT_EQ(assembly.sink.rows_.size(), 4u);
}

TEST(StripAssembler, TilesThatOverlapLeaveAGapOrStopShortAreRefused) {
    const StripImage image = StripImage::random(40, 20, TWPT_GRAY, 1, 8, 9);
    const auto tiles = cutTiles(image, 16);
    const struct {
        const char* name;
        std::vector<std::size_t> order;
        const char* refusal;
    } cases[] = {
        {"the same tile twice", {0, 0}, kStripsDoNotJoin},
        {"a tile skipped", {0, 2}, kStripsDoNotJoin},
        {"a tile whose left neighbour never came", {0, 1, 2, 4}, kStripsDoNotJoin},
    };
    for (const auto& c : cases) {
        Assembly assembly(image.info(20));
        try {
            for (const std::size_t i : c.order) {
                assembly.add(tiles[i]);
            }
            ADD_FAILURE() << c.name << " was taken";
        } catch (const MessageFailure& failure) {
            EXPECT_STREQ(failure.text, c.refusal) << c.name;
        }
    }
    Assembly unfinished(image.info(20));
    ASSERT_TRUE(unfinished.add(tiles[0]));
    try {
        unfinished.assembler.finish();
        ADD_FAILURE() << "a band begun and not finished made a page";
    } catch (const MessageFailure& failure) {
        EXPECT_STREQ(failure.text, kImageUnfinished);
    }
}

}  // namespace
