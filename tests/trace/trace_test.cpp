// The trace: what it records of a scan matches what the source received, triplet by triplet; the
// library's own decisions are in it by name; it survives many threads, a full file, and a file
// that cannot be written, without ever standing in the session's way.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "file_lines.h"
#include "scenario.h"
#include "session/acquisition.h"
#include "settings/image_layout.h"
#include "trace/trace.h"
#include "twain_natives.h"
#include "win32_posix_test_hooks.h"

namespace {

namespace fs = std::filesystem;

// Names of the numbers the scans below send, written out here rather than taken from the trace's
// own tables, so that a wrong name there shows.
std::string tripletName(const VscanTriplet& t) {
    static const std::map<std::pair<unsigned, unsigned>, std::string> names = {
        {{0x0004, 0x0301}, "DG_CONTROL/DAT_PARENT/MSG_OPENDSM"},
        {{0x0004, 0x0302}, "DG_CONTROL/DAT_PARENT/MSG_CLOSEDSM"},
        {{0x0003, 0x0401}, "DG_CONTROL/DAT_IDENTITY/MSG_OPENDS"},
        {{0x0003, 0x0402}, "DG_CONTROL/DAT_IDENTITY/MSG_CLOSEDS"},
        {{0x0001, 0x0006}, "DG_CONTROL/DAT_CAPABILITY/MSG_SET"},
        {{0x0001, 0x0002}, "DG_CONTROL/DAT_CAPABILITY/MSG_GETCURRENT"},
        {{0x0009, 0x0502}, "DG_CONTROL/DAT_USERINTERFACE/MSG_ENABLEDS"},
        {{0x0009, 0x0501}, "DG_CONTROL/DAT_USERINTERFACE/MSG_DISABLEDS"},
        {{0x0002, 0x0601}, "DG_CONTROL/DAT_EVENT/MSG_PROCESSEVENT"},
        {{0x0104, 0x0001}, "DG_IMAGE/DAT_IMAGENATIVEXFER/MSG_GET"},
        {{0x0005, 0x0701}, "DG_CONTROL/DAT_PENDINGXFERS/MSG_ENDXFER"},
        {{0x0005, 0x0007}, "DG_CONTROL/DAT_PENDINGXFERS/MSG_RESET"},
    };
    const auto it = names.find({t.dat, t.msg});
    return it != names.end() ? it->second : "unnamed DAT " + std::to_string(t.dat);
}

std::string resultName(unsigned code) {
    static const char* const names[] = {"TWRC_SUCCESS",  "TWRC_FAILURE",  "TWRC_CHECKSTATUS",
                                        "TWRC_CANCEL",   "TWRC_DSEVENT",  "TWRC_NOTDSEVENT",
                                        "TWRC_XFERDONE", "TWRC_ENDOFLIST"};
    return code < std::size(names) ? names[code] : std::to_string(code);
}

std::string conditionName(unsigned code) {
    static const std::map<unsigned, std::string> names = {
        {0, "TWCC_SUCCESS"}, {1, "TWCC_BUMMER"}, {5, "TWCC_OPERATIONERROR"}, {11, "TWCC_SEQERROR"}};
    const auto it = names.find(code);
    return it != names.end() ? it->second : std::to_string(code);
}

class Trace : public Scenario {
  protected:
    void SetUp() override {
        Scenario::SetUp();
        file_ =
            fs::temp_directory_path() /
            ("scanlink-trace-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + std::to_string(GetCurrentThreadId()) + ".log");
        removeFiles();
    }
    void TearDown() override {
        stopTrace();
        Scenario::TearDown();
        removeFiles();
    }
    void removeFiles() {
        fs::remove(file_);
        fs::remove(fs::path(file_.string() + ".1"));
    }
    // The lines of events: every line but the header's, which begin with '#'.
    std::vector<std::string> lines() const { return eventLines(file_.string()); }
    static std::vector<std::string> eventLines(const std::string& file) {
        std::vector<std::string> events;
        for (const std::string& line : linesOf(file)) {
            if (line.rfind('#', 0) != 0) {
                events.push_back(line);
            }
        }
        return events;
    }

    // The lines that record triplets, without the start that every line has.
    std::vector<std::string> tripletLines() const {
        std::vector<std::string> found;
        static const std::regex triplet(R"(^\S+ thread \d+ state \d+(->\d+)? (DG_\S+ to .*)$)");
        for (const std::string& line : lines()) {
            std::smatch match;
            if (std::regex_match(line, match, triplet)) {
                found.push_back(match[2]);
            }
        }
        return found;
    }

    // One scan through the natives, as an application makes it.
    static void scanOnePage() {
        ASSERT_TRUE(registerAsNative());
        ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_openSource(nullptr, nullptr));
        ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_setXResolution(nullptr, nullptr, 75.0));
        Java_QZ_korvel_twain_TwainEx_getXResolution(nullptr, nullptr);
        ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_setVisible(nullptr, nullptr, JNI_FALSE));
        ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_prepareTransfer(nullptr, nullptr));
        const TW_HANDLE image = acquireNextImage();
        ASSERT_TRUE(image);
        GlobalFree(image);
        ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_unregister(nullptr, nullptr));
    }

    fs::path file_;
};

TEST_F(Trace, AScanHoldsExactlyTheTripletsTheSourceReceivedWithTheirCodes) {
    ASSERT_TRUE(startTrace(file_.string().c_str()));
    scanOnePage();
    stopTrace();
    // Each triplet and the status request after it are one line of the trace.
    std::vector<std::string> expected;
    const size_t size = vscan_logSize();
    for (size_t i = 0; i < size; ++i) {
        VscanTriplet t{};
        vscan_logEntry(i, &t);
        if (t.dat == DAT_STATUS) {
            continue;
        }
        std::string line = tripletName(t) + (t.toSource ? " to source" : " to manager") + " -> " +
                           resultName(t.resultCode);
        VscanTriplet status{};
        if (vscan_logEntry(i + 1, &status) && status.dat == DAT_STATUS && status.resultCode == 0) {
            line += " " + conditionName(status.statusCondition);
        }
        expected.push_back(line);
    }
    const std::vector<std::string> traced = tripletLines();
    ASSERT_EQ(traced.size(), expected.size());
    for (size_t i = 0; i < traced.size(); ++i) {
        EXPECT_NE(traced[i].find(expected[i].substr(0, expected[i].find(" -> "))),
                  std::string::npos)
            << traced[i];
        EXPECT_NE(traced[i].find(expected[i].substr(expected[i].find(" -> "))), std::string::npos)
            << traced[i] << " should hold " << expected[i];
    }
}

TEST_F(Trace, EveryLineHasTheTimeTheThreadAndTheStateBeforeAndAfter) {
    ASSERT_TRUE(startTrace(file_.string().c_str()));
    scanOnePage();
    stopTrace();
    const std::regex start(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z thread )" +
                           std::to_string(GetCurrentThreadId()) + R"( state \d+(->\d+)? .+$)");
    for (const std::string& line : lines()) {
        EXPECT_TRUE(std::regex_match(line, start)) << line;
    }
    const std::string all = [&] {
        std::string text;
        for (const std::string& line : lines()) {
            text += line + "\n";
        }
        return text;
    }();
    EXPECT_NE(all.find("state 2->3 DG_CONTROL/DAT_PARENT/MSG_OPENDSM"), std::string::npos) << all;
    EXPECT_NE(all.find("state 4->5 DG_CONTROL/DAT_USERINTERFACE/MSG_ENABLEDS"), std::string::npos);
    EXPECT_NE(all.find("Twain_32.dll loaded"), std::string::npos);
    EXPECT_NE(all.find("source opened: \"Virtual Scanner\" by \"scanlink32\""), std::string::npos);
    EXPECT_NE(all.find("ICAP_XRESOLUTION TWON_ONEVALUE TWTY_FIX32 75 ->"), std::string::npos);
    EXPECT_NE(all.find("MSG_PROCESSEVENT to source message 0x"), std::string::npos);
    EXPECT_NE(all.find(": MSG_XFERREADY"), std::string::npos);
}

// A frame is traced to the fractions its TW_FIX32 carry, as sent and as the source tells it back.
TEST_F(Trace, AFrameIsTracedToItsFractions) {
    ASSERT_TRUE(registerAsNative());
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_openSource(nullptr, nullptr));
    ASSERT_TRUE(startTrace(file_.string().c_str()));
    ASSERT_TRUE(sendFrame(fix32Frame(0.5, 1.25, 8.375, 12)));
    ASSERT_TRUE(readFrame());
    stopTrace();
    const std::vector<std::string> traced = tripletLines();
    ASSERT_EQ(traced.size(), 2u);
    EXPECT_EQ(traced[0].rfind("DG_IMAGE/DAT_IMAGELAYOUT/MSG_SET to source frame 0.5, 1.25, 8.375, "
                              "12 -> TWRC_CHECKSTATUS TWCC_SUCCESS (",
                              0),
              0u)
        << traced[0];
    EXPECT_EQ(traced[1].rfind("DG_IMAGE/DAT_IMAGELAYOUT/MSG_GET to source -> TWRC_SUCCESS "
                              "TWCC_SUCCESS: frame 0.5, 1.25, 8.375, 11 (",
                              0),
              0u)
        << traced[1];
}

TEST_F(Trace, RefusalsAppearByNameWithTheRuleApplied) {
    ASSERT_TRUE(registerAsNative());
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_openSource(nullptr, nullptr));
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_prepareTransfer(nullptr, nullptr));
    vscan_script(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, TWRC_FAILURE, TWCC_OPERATIONERROR, 2);
    ASSERT_TRUE(startTrace(file_.string().c_str()));
    const TW_HANDLE image = acquireNextImage();
    ASSERT_TRUE(image);
    GlobalFree(image);
    stopTrace();
    const std::vector<std::string> all = lines();
    auto position = [&all](const std::string& text) {
        for (size_t i = 0; i < all.size(); ++i) {
            if (all[i].find(text) != std::string::npos) {
                return static_cast<long>(i);
            }
        }
        return -1L;
    };
    const long refused = position(
        "state 7 DG_CONTROL/DAT_PENDINGXFERS/MSG_ENDXFER to source -> TWRC_FAILURE "
        "TWCC_OPERATIONERROR");
    const long tried = position("rule: the source refused to end the transfers; trying once more");
    const long gaveUp = position("rule: the source refused again: giving up");
    ASSERT_GE(refused, 0);
    EXPECT_GT(tried, refused);
    EXPECT_GT(gaveUp, tried);
}

TEST_F(Trace, ACallHandedToTheOwnerIsRecordedOnBothThreads) {
    ASSERT_TRUE(registerAsNative());
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_openSource(nullptr, nullptr));
    vscan_setKnob("page.delay_ms", 600000);
    ASSERT_TRUE(Java_QZ_korvel_twain_TwainEx_prepareTransfer(nullptr, nullptr));
    ASSERT_TRUE(startTrace(file_.string().c_str()));
    DWORD other = 0;
    std::thread cancel([&other] {
        other = GetCurrentThreadId();
        // Refused until the owner waits, then carried out by it.
        while (!Java_QZ_korvel_twain_TwainEx_stopTransfer(nullptr, nullptr)) {
            std::this_thread::yield();
        }
    });
    EXPECT_FALSE(acquireNextImage());
    cancel.join();
    stopTrace();
    bool handed = false;
    bool carriedOut = false;
    const std::string owner = std::to_string(GetCurrentThreadId());
    for (const std::string& line : lines()) {
        handed |= line.find("thread " + std::to_string(other) +
                            " state 5 stopTransfer handed to the owner, thread " + owner) !=
                  std::string::npos;
        carriedOut |=
            line.find("thread " + owner + " state 4 stopTransfer carried out for thread " +
                      std::to_string(other)) != std::string::npos;
    }
    EXPECT_TRUE(handed);
    EXPECT_TRUE(carriedOut);
}

TEST_F(Trace, LinesOfEightThreadsAtOnceComeOutWhole) {
    ASSERT_TRUE(startTrace(file_.string().c_str()));
    constexpr int kThreads = 8;
    constexpr int kLines = 2000;
    const std::string padding(100, 'x');
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([t, &padding] {
            for (int i = 0; i < kLines; ++i) {
                traceEvent("writer " + std::to_string(t) + " line " + std::to_string(i) + " " +
                           padding);
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    stopTrace();
    const std::regex whole(R"(^\S+ thread \d+ state \d+ writer (\d) line (\d+) x{100}$)");
    std::set<std::pair<int, int>> seen;
    for (const std::string& line : lines()) {
        std::smatch match;
        if (line.find("trace started") != std::string::npos) {
            continue;
        }
        ASSERT_TRUE(std::regex_match(line, match, whole)) << line;
        seen.insert({std::stoi(match[1]), std::stoi(match[2])});
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kLines));
}

TEST_F(Trace, AFullFileIsKeptAsDotOneAndANewOneBegun) {
    ASSERT_TRUE(startTrace(file_.string().c_str(), 4096));
    for (int i = 0; i < 200; ++i) {
        traceEvent("line " + std::to_string(i) + " " + std::string(40, 'x'));
    }
    stopTrace();
    const fs::path kept(file_.string() + ".1");
    ASSERT_TRUE(fs::exists(kept));
    EXPECT_LE(fs::file_size(file_), 4096u);
    EXPECT_LE(fs::file_size(kept), 4096u);
    // The newest lines are in the file, those just before them in FILE.1: none lost between.
    const std::vector<std::string> older = eventLines(kept.string());
    const std::vector<std::string> newer = lines();
    ASSERT_FALSE(older.empty());
    ASSERT_FALSE(newer.empty());
    const std::regex number(R"( line (\d+) x+$)");
    std::smatch last;
    std::smatch first;
    ASSERT_TRUE(std::regex_search(older.back(), last, number));
    ASSERT_TRUE(std::regex_search(newer.front(), first, number));
    EXPECT_EQ(std::stoi(first[1]), std::stoi(last[1]) + 1);
    std::smatch end;
    ASSERT_TRUE(std::regex_search(newer.back(), end, number));
    EXPECT_EQ(end[1], "199");
}

TEST_F(Trace, AFileThatCannotBeOpenedCostsOneLineWithTheSystemsReasonAndTheScanGoesOn) {
    const fs::path unwritable = fs::temp_directory_path() / "no-such-folder-of-scanlink" / "t.log";
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(startTrace(unwritable.string().c_str()));
    EXPECT_FALSE(traceOn());
    scanOnePage();
    const std::string complaints = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(complaints, "scanlink32: the trace file " + unwritable.string() +
                              " cannot be opened (No such file or directory); scanning goes on "
                              "without it\n");
}

TEST_F(Trace, AFileThatTakesNoLineIsRefusedAtTheStartWithTheSystemsReason) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no device that refuses every write";
    }
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(startTrace("/dev/full"));
    scanOnePage();
    EXPECT_FALSE(traceOn());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "scanlink32: the trace file /dev/full cannot be written (No space left on device); "
              "scanning goes on without it\n");
}

// On Windows a file that another process holds open cannot be renamed: the full file is then not
// kept, and the trace must neither lose FILE.1 nor grow without bound.
TEST_F(Trace, AFullFileThatCannotBeKeptEndsTheTraceAndLosesNothing) {
    const fs::path kept(file_.string() + ".1");
    std::FILE* older = std::fopen(kept.string().c_str(), "w");
    ASSERT_NE(older, nullptr);
    std::fputs("the kept file\n", older);
    std::fclose(older);
    constexpr std::uint64_t kLimit = 4096;
    ASSERT_TRUE(startTrace(file_.string().c_str(), kLimit));
    win32posix_failFileMoves(1000);
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 500; ++i) {
        traceEvent("line " + std::to_string(i) + " " + std::string(40, 'x'));
    }
    const std::string complaints = ::testing::internal::GetCapturedStderr();
    win32posix_failFileMoves(0);
    EXPECT_FALSE(traceOn());
    EXPECT_EQ(linesOf(kept.string()), std::vector<std::string>{"the kept file"});
    EXPECT_LE(fs::file_size(file_), 2 * kLimit);
    const std::string why = "cannot be kept as " + kept.string() +
                            " (Windows error 32: The process cannot access the file because it is "
                            "being used by another process), and would grow past its limit";
    EXPECT_EQ(linesOf(file_.string()).back(), "# trace stopped: the file " + why);
    EXPECT_EQ(complaints, "scanlink32: the trace file " + file_.string() + " " + why +
                              "; scanning goes on without it\n");
}

TEST_F(Trace, EachFileBeginsWithTheHeaderAndTheHostOnceTold) {
    const auto header = [](const std::vector<std::string>& lines) {
        return std::vector<std::string>(lines.begin(),
                                        lines.begin() + std::min<std::size_t>(3, lines.size()));
    };
    ASSERT_TRUE(startTrace(file_.string().c_str(), 4096));
    std::vector<std::string> first = header(linesOf(file_.string()));
    ASSERT_EQ(first.size(), 3u);
    EXPECT_TRUE(std::regex_match(
        first[0],
        std::regex(
            R"(# scanlink32 (\d+\.\d+\.\d+) \([a-z.]+:scanlink32:\1, build .+\), a 64-bit library)")))
        << first[0];
    EXPECT_EQ(first[1], "# host: not told (the library was not loaded by the Java binding)");
    EXPECT_EQ(first[2], "# process " + std::to_string(GetCurrentProcessId()) + " " +
                            fs::read_symlink("/proc/self/exe").string());
    traceHostIs("Linux 6.1 amd64, a Java VM (64-bit)");
    for (int i = 0; i < 200; ++i) {
        traceEvent("line " + std::to_string(i) + " " + std::string(40, 'x'));
    }
    stopTrace();
    EXPECT_NE(lines().size(), 0u);
    const std::vector<std::string> kept = linesOf(file_.string() + ".1");
    EXPECT_EQ(header(kept)[0], first[0]);
    EXPECT_NE(std::find_if(kept.begin(), kept.end(),
                           [](const std::string& line) {
                               return line.ends_with(" host: Linux 6.1 amd64, a Java VM (64-bit)");
                           }),
              kept.end());
    std::vector<std::string> begun = header(linesOf(file_.string()));
    EXPECT_EQ(begun, (std::vector<std::string>{
                         first[0], "# host: Linux 6.1 amd64, a Java VM (64-bit)", first[2]}));
    traceHostIs("");
}

TEST_F(Trace, AThreadIsNamedOnceItsVmCanTellItsName) {
    static std::atomic<int> asked = 0;
    static std::atomic<bool> ready = false;
    traceThreadNamesFrom([](char* name, std::size_t size) {
        ++asked;
        if (!ready) {
            return ThreadName::NotNow;
        }
        std::snprintf(name, size, "scan session");
        return ThreadName::Named;
    });
    // A thread of its own, which has written no line before: each thread asks for its name once.
    DWORD id = 0;
    std::thread traced([this, &id] {
        id = GetCurrentThreadId();
        ASSERT_TRUE(startTrace(file_.string().c_str()));
        traceEvent("before");
        ready = true;
        traceEvent("after");
        traceEvent("again");
        stopTrace();
    });
    traced.join();
    traceThreadNamesFrom(nullptr);
    EXPECT_EQ(asked, 3);  // at "trace started", at "before", and once more, named
    const std::string thread = "thread " + std::to_string(id);
    std::vector<std::string> found;
    for (const std::string& line : lines()) {
        found.push_back(line.substr(line.find(" thread ") + 1));
    }
    EXPECT_EQ(found, (std::vector<std::string>{thread + " state 0 trace started",
                                               thread + " state 0 before",
                                               thread + " \"scan session\" state 0 after",
                                               thread + " \"scan session\" state 0 again"}));
}

TEST_F(Trace, OffItWritesNothing) {
    scanOnePage();
    EXPECT_FALSE(fs::exists(file_));
}

}  // namespace
