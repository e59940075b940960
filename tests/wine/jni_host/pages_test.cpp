// Pages as the consumer receives them through the shipped library: the chart in every pixel type,
// the largest page the virtual scanner scans, and every file of the BMP suite, pixel for pixel as
// the host-side Java tests expect it (ImageIO's reading of the file, or the refusal with its
// exception).
#include <virtual_scanner_control.h>
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host_environment.h"
#include "jni_host_fixture.h"
#include "twain/twain.h"

namespace {

using Pages = JniHost;

// What differs between the consumer's image and the expected one, or nothing.
std::string difference(const std::vector<std::uint32_t>& actual,
                       const std::vector<std::uint32_t>& expected, jint width) {
    if (actual.size() != expected.size()) {
        return std::to_string(actual.size()) + " pixels, expected " +
               std::to_string(expected.size());
    }
    std::size_t wrong = 0;
    std::ostringstream first;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i] && wrong++ == 0) {
            first << std::hex << "pixel (" << std::dec << i % static_cast<std::size_t>(width)
                  << ", " << i / static_cast<std::size_t>(width) << ") is " << std::hex << actual[i]
                  << ", expected " << expected[i];
        }
    }
    return wrong == 0 ? "" : std::to_string(wrong) + " pixels differ, first " + first.str();
}

// One file of the suite, as BmpReference.java describes it.
struct SuiteFile {
    std::string name;
    bool inScope = false;
    int biSize = 0;
    std::string compression;
    std::string page;
    jint width = 0;
    jint height = 0;
    std::vector<std::uint32_t> rgb;
};

std::vector<SuiteFile> readReference(const std::string& folder) {
    std::ifstream in(folder + "\\reference.tsv");
    std::vector<SuiteFile> files;
    std::string header;
    std::string pixels;
    while (std::getline(in, header) && std::getline(in, pixels)) {
        SuiteFile file;
        std::istringstream fields(header);
        std::string inScope;
        std::getline(fields, file.name, '\t');
        std::getline(fields, inScope, '\t');
        file.inScope = inScope == "yes";
        fields >> file.biSize;
        fields.ignore();
        std::getline(fields, file.compression, '\t');
        std::getline(fields, file.page, '\t');
        fields >> file.width >> file.height;
        for (std::size_t at = 0; at + 6 <= pixels.size(); at += 6) {
            file.rgb.push_back(
                static_cast<std::uint32_t>(std::stoul(pixels.substr(at, 6), nullptr, 16)));
        }
        files.push_back(std::move(file));
    }
    return files;
}

struct Refusal {
    std::string className;
    std::string message;
};

// The files in the library's scope that are still refused, with what the host-side tests expect.
const std::map<std::string, Refusal> kNotDelivered = {
    {"b/badpalettesize.bmp", {"java/lang/Exception", "Invalid image!"}},
    {"b/reallybig.bmp", {"java/lang/Exception", "Invalid image!"}},
    {"b/shortfile.bmp", {"java/lang/Exception", "Invalid image!"}},
    {"b/badwidth.bmp", {"java/lang/NegativeArraySizeException", "-127"}},
};

// A header outside the library's scope, by the order in which the decoder tests it.
Refusal refusalOf(const SuiteFile& file) {
    if (file.biSize == 40 && file.compression != "RGB" && file.compression != "BITFIELDS") {
        return {"java/lang/Exception", "Unsuported DIB compression type!"};
    }
    return {"java/lang/Exception", "Unsupported image type!"};
}

// The largest block of the process's address space that is free: the most that one allocation,
// such as the global memory block of a page, can still have in one piece.
std::size_t largestFreeBlock() {
    std::size_t largest = 0;
    MEMORY_BASIC_INFORMATION region = {};
    for (auto* at = static_cast<const char*>(nullptr);
         VirtualQuery(at, &region, sizeof(region)) == sizeof(region);
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_FREE && region.RegionSize > largest) {
            largest = region.RegionSize;
        }
    }
    return largest;
}

std::size_t peakCommittedBytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))
               ? counters.PeakPagefileUsage
               : 0;
}

constexpr double kMebibyte = 1024.0 * 1024.0;

}  // namespace

TEST_F(Pages, EveryPixelTypeArrivesAsTheChart) {
    openSource();
    ASSERT_TRUE(library.setResolution(75));
    for (const jshort pixelType : {TWPT_BW, TWPT_GRAY, TWPT_RGB}) {
        SCOPED_TRACE("pixel type " + std::to_string(pixelType));
        ASSERT_TRUE(library.setPixelType(pixelType));
        int32_t width = 0;
        int32_t height = 0;
        std::vector<std::uint32_t> chart(vscan_expectedPage(nullptr, 0, &width, &height));
        vscan_expectedPage(chart.data(), chart.size(), &width, &height);
        ASSERT_TRUE(library.step("prepareTransfer"));

        host::RecordingConsumer consumer;
        const host::Outcome<jboolean> outcome = library.acquireImage(consumer.object());
        EXPECT_TRUE(outcome.value);
        EXPECT_EQ(outcome.thrown, nullptr);
        expectOnePage(consumer, width, height);
        EXPECT_EQ(difference(consumer.rgb(), chart, width), "");
        ASSERT_TRUE(library.step("stopTransfer"));
    }
}

// Letter size in colour at 600 dpi: 5100 x 6600 pixels, a DIB of 100,980,040 bytes, which the
// source holds twice while it hands it over and the consumer's image holds again as ints. It
// arrives whole; the run reports what it took, for a 32-bit process with its 2 GB of addresses.
TEST_F(Pages, ALetterColourPageAt600DpiArrivesAsTheChart) {
    openSource();
    ASSERT_TRUE(library.setResolution(600));
    ASSERT_TRUE(library.setPixelType(TWPT_RGB));
    int32_t width = 0;
    int32_t height = 0;
    std::vector<std::uint32_t> chart(vscan_expectedPage(nullptr, 0, &width, &height));
    vscan_expectedPage(chart.data(), chart.size(), &width, &height);
    ASSERT_EQ(width, 5100);
    ASSERT_EQ(height, 6600);
    ASSERT_TRUE(library.step("prepareTransfer"));

    const std::size_t freeBefore = largestFreeBlock();
    host::RecordingConsumer consumer;
    const auto started = std::chrono::steady_clock::now();
    const host::Outcome<jboolean> outcome = library.acquireImage(consumer.object());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_TRUE(outcome.value);
    EXPECT_EQ(outcome.thrown, nullptr);
    expectOnePage(consumer, width, height);
    EXPECT_EQ(difference(consumer.rgb(), chart, width), "");

    std::printf(
        "A %d x %d colour page through a %u-bit process: scanned and delivered in %.1f s; at "
        "most %.0f MiB committed; the largest free block of addresses %.0f MiB before the scan, "
        "%.0f MiB after\n",
        width, height, static_cast<unsigned>(sizeof(void*) * 8), seconds,
        static_cast<double>(peakCommittedBytes()) / kMebibyte,
        static_cast<double>(freeBefore) / kMebibyte,
        static_cast<double>(largestFreeBlock()) / kMebibyte);
}

TEST_F(Pages, EveryFileOfTheBmpSuiteArrivesAsTheHostSideTestsExpect) {
    const std::string folder = host::hostPathWithoutDrive("BMP_PAGES");
    const std::vector<SuiteFile> suite = readReference(folder);
    ASSERT_EQ(suite.size(), 88u) << "reference.tsv of " << folder;
    std::string pages;
    for (const SuiteFile& file : suite) {
        pages += (pages.empty() ? "" : ":") + folder + "\\pages\\" + file.page;
    }
    vscan_setPageFiles(pages.c_str());
    openSource();
    ASSERT_TRUE(library.step("prepareTransfer"));

    std::size_t delivered = 0;
    for (const SuiteFile& file : suite) {
        SCOPED_TRACE(file.name);
        host::RecordingConsumer consumer;
        const host::Outcome<jboolean> outcome = library.acquireImage(consumer.object());
        const auto notDelivered = kNotDelivered.find(file.name);
        if (!file.inScope || notDelivered != kNotDelivered.end()) {
            const Refusal expected = file.inScope ? notDelivered->second : refusalOf(file);
            EXPECT_FALSE(outcome.value);
            ASSERT_NE(outcome.thrown, nullptr);
            EXPECT_EQ(outcome.thrown->className, expected.className);
            EXPECT_EQ(outcome.thrown->message, expected.message);
            continue;
        }
        EXPECT_TRUE(outcome.value);
        EXPECT_EQ(outcome.thrown, nullptr);
        ASSERT_GT(file.width, 0) << "ImageIO does not read a file the library delivers";
        expectOnePage(consumer, file.width, file.height);
        EXPECT_EQ(difference(consumer.rgb(), file.rgb, file.width), "");
        ++delivered;
    }
    EXPECT_EQ(delivered, 40u);
    EXPECT_EQ(library.getState(), kSourceEnabled);
}
