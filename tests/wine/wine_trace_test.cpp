// The trace of a scan through Wine's own manager: the manager's file, the source's identity, and
// every triplet the source received, in order and with its result.
#include <windows.h>

#include <cctype>
#include <string>
#include <vector>

#include "file_lines.h"
#include "prefix_layout.h"
#include "session/acquisition.h"
#include "session/lifecycle.h"
#include "session/twain_session.h"
#include "trace/trace.h"
#include "wine_manager_support.h"

namespace {

using WineTrace = Scenario;

std::string lowerCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// The names of what a scan sends the source, written out here so that a wrong name in the trace's
// own tables shows.
std::string tripletName(const VscanTriplet& t) {
    switch (t.dat) {
        case DAT_CAPABILITY:
            return t.msg == MSG_SET ? "DG_CONTROL/DAT_CAPABILITY/MSG_SET"
                                    : "DG_CONTROL/DAT_CAPABILITY/MSG_GETCURRENT";
        case DAT_USERINTERFACE:
            return t.msg == MSG_ENABLEDS ? "DG_CONTROL/DAT_USERINTERFACE/MSG_ENABLEDS"
                                         : "DG_CONTROL/DAT_USERINTERFACE/MSG_DISABLEDS";
        case DAT_EVENT:
            return "DG_CONTROL/DAT_EVENT/MSG_PROCESSEVENT";
        case DAT_IMAGENATIVEXFER:
            return "DG_IMAGE/DAT_IMAGENATIVEXFER/MSG_GET";
        case DAT_PENDINGXFERS:
            return t.msg == MSG_ENDXFER ? "DG_CONTROL/DAT_PENDINGXFERS/MSG_ENDXFER"
                                        : "DG_CONTROL/DAT_PENDINGXFERS/MSG_RESET";
        default:
            return "DAT " + std::to_string(t.dat);
    }
}

std::string resultName(TW_UINT16 result) {
    switch (result) {
        case TWRC_SUCCESS:
            return "TWRC_SUCCESS";
        case TWRC_FAILURE:
            return "TWRC_FAILURE";
        case TWRC_DSEVENT:
            return "TWRC_DSEVENT";
        case TWRC_NOTDSEVENT:
            return "TWRC_NOTDSEVENT";
        case TWRC_XFERDONE:
            return "TWRC_XFERDONE";
        default:
            return std::to_string(result);
    }
}

std::string tempFile() {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "scanlink-wine-trace.log";
}

TEST_F(WineTrace, AScanThroughWinesManagerIsTracedTripletByTriplet) {
    const std::string file = tempFile();
    DeleteFileA(file.c_str());
    ASSERT_TRUE(startTrace(file.c_str()));
    openThroughWine();
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_setXResolution(nullptr, nullptr, 75.0));
    twainSession.showUserInterface = false;
    ASSERT_TRUE(prepareTransfer());
    const TW_HANDLE image = waitForPage();
    ASSERT_TRUE(image);
    GlobalFree(image);
    ASSERT_TRUE(unregister());
    stopTrace();

    const std::vector<std::string> lines = linesOf(file);
    DeleteFileA(file.c_str());
    std::string all;
    std::vector<std::string> toSource;
    for (const std::string& line : lines) {
        all += line + "\n";
        if (const auto at = line.find(" DG_");
            at != std::string::npos && line.find(" to source", at) != std::string::npos) {
            toSource.push_back(line.substr(at + 1));
        }
    }
    // The manager's full path, which Windows compares without case.
    EXPECT_NE(lowerCase(all).find(lowerCase(windowsFile(kPrefixLayout.winesManager)) + " loaded"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("source opened: \"Virtual Scanner\" by \"scanlink32\""), std::string::npos)
        << all;
    // What the source received from Wine's manager, but the identity triplets (which the library
    // addresses to the manager), the status requests (in the line of their triplet) and the
    // notices the source sends itself.
    std::vector<Triplet> received;
    for (Triplet& t : requests()) {
        if (t.header.dat != DAT_IDENTITY && t.header.dat != DAT_NULL) {
            received.push_back(std::move(t));
        }
    }
    ASSERT_EQ(toSource.size(), received.size()) << all;
    for (std::size_t i = 0; i < received.size(); ++i) {
        const std::string expected = tripletName(received[i].header) + " to source";
        EXPECT_EQ(toSource[i].substr(0, expected.size()), expected) << toSource[i];
        EXPECT_NE(toSource[i].find(" -> " + resultName(received[i].header.resultCode)),
                  std::string::npos)
            << toSource[i];
    }
}

}  // namespace
