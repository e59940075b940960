// Pages taken by file transfer from the virtual scanner: a BMP file gives the chart at each pixel
// type, and the file is gone once the page is in; a file the source did not write, or one that was
// there before the transfer, is refused and the transfer ended.
#include <cstdio>
#include <filesystem>
#include <string>

#include "image/messages.h"
#include "mechanism_scenario.h"
#include "page_rows.h"
#include "session/acquisition.h"
#include "session/file_transfer.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"
#include "settings/capability_access.h"

namespace {

namespace fs = std::filesystem;

class FileTransferTest : public MechanismScenario {
  protected:
    void SetUp() override {
        MechanismScenario::SetUp();
        path_ = (fs::temp_directory_path() / "scanlink-file-transfer-test.bmp").string();
        fs::remove(path_);
    }
    void TearDown() override {
        fs::remove(path_);
        MechanismScenario::TearDown();
    }
    static void scanIn(TW_UINT16 pixelType) { enableFor(pixelType, TWSX_FILE); }

    std::string path_;
};

TEST_F(FileTransferTest, ABmpFileGivesTheChartAtEachPixelTypeAndIsRemoved) {
    for (const TW_UINT16 pixelType : {TWPT_BW, TWPT_GRAY, TWPT_RGB}) {
        ASSERT_TRUE(disableSource());
        resetScanner();
        scanIn(pixelType);
        PageRows page;
        FileTransfer transfer(page, path_, TWFF_BMP);
        ASSERT_TRUE(acquireNextPage(transfer)) << pixelType << ": " << requestNames();
        EXPECT_EQ(transfer.refusal(), nullptr) << pixelType;
        EXPECT_TRUE(page.ended) << pixelType;
        EXPECT_EQ(page.differenceFromExpectedPage(), "") << pixelType;
        EXPECT_FALSE(fs::exists(path_)) << pixelType << ": the transfer file is left";
        EXPECT_EQ(countOf(DAT_IMAGEFILEXFER, MSG_GET), 1u) << pixelType;
    }
}

TEST_F(FileTransferTest, AFileTheSourceDidNotWriteIsRefused) {
    const struct {
        const char* name;
        bool fileBefore;
        const char* refusal;
        size_t transfers;
    } cases[] = {
        {"the source wrote nothing", false, kTransferFileUnwritten, 1},
        {"a file was there before", true, kTransferFileWasThere, 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(disableSource());
        resetScanner();
        vscan_setKnob("file.unwritten", 1);
        if (c.fileBefore) {
            std::FILE* planted = std::fopen(path_.c_str(), "wb");
            ASSERT_NE(planted, nullptr);
            std::fputs("BM planted", planted);
            std::fclose(planted);
        }
        scanIn(TWPT_RGB);
        PageRows page;
        FileTransfer transfer(page, path_, TWFF_BMP);
        EXPECT_FALSE(acquireNextPage(transfer)) << c.name;
        EXPECT_STREQ(transfer.refusal(), c.refusal) << c.name;
        EXPECT_FALSE(page.ended) << c.name;
        EXPECT_EQ(countOf(DAT_IMAGEFILEXFER, MSG_GET), c.transfers) << c.name;
        EXPECT_LE(twainSession.state, kStateSourceEnabled) << c.name << ": " << requestNames();
        // The library removes the files it asked for, and no other.
        EXPECT_EQ(fs::exists(path_), c.fileBefore) << c.name;
        fs::remove(path_);
    }
}

}  // namespace
