#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* kSimulatedBytes = "WIN32_POSIX_TOTAL_PHYS_BYTES";
constexpr const char* kUsage = "Usage: Ramtally outdir\n";
constexpr const char* kCannotOpen = "Cannot open ramsize.dat\n";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Outcome {
    int status = -1;  // exit status, or -1 if the program did not exit normally
    std::string out;
    std::string err;
};

class RamtallyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/ramtally-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        out_ = root_ / "out";
        fs::create_directory(out_);
    }
    void TearDown() override { fs::remove_all(root_); }

    // Runs the program in the output directory, posing as a machine of `bytes` if given.
    Outcome run(const std::vector<std::string>& args, const std::string& bytes = "") {
        std::vector<std::string> env;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            if (std::strncmp(*entry, kSimulatedBytes, std::strlen(kSimulatedBytes)) != 0) {
                env.emplace_back(*entry);
            }
        }
        if (!bytes.empty()) {
            env.push_back(std::string(kSimulatedBytes) + "=" + bytes);
        }
        std::vector<char*> argv{const_cast<char*>(RAMTALLY_PROGRAM)};
        for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (auto& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);

        const std::string outFile = root_ / "stdout", errFile = root_ / "stderr";
        const pid_t child = fork();
        if (child == 0) {
            const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
                chdir(out_.c_str()) != 0) {
                _exit(127);
            }
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        int wait = 0;
        Outcome outcome;
        if (child > 0 && waitpid(child, &wait, 0) == child && WIFEXITED(wait)) {
            outcome.status = WEXITSTATUS(wait);
        }
        outcome.out = readFile(outFile);
        outcome.err = readFile(errFile);
        return outcome;
    }

    // An existing directory whose path is exactly `length` characters long.
    std::string directoryOfLength(std::size_t length) {
        std::string path = root_.string();
        while (path.size() < length) {
            std::size_t part = std::min<std::size_t>(length - path.size() - 1, 100);
            if (length - path.size() - 1 - part == 1) --part;  // "/" and one letter at least
            path += "/" + std::string(part, 'd');
        }
        fs::create_directories(path);
        return path;
    }

    void expectWritten(const Outcome& outcome, const fs::path& file, const std::string& figure) {
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(readFile(file), figure);
    }

    void expectRefused(const Outcome& outcome) {
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, kCannotOpen);
    }

    fs::path root_;
    fs::path out_;
};

TEST_F(RamtallyTest, WrongArgumentCountPrintsUsageAndTouchesNothing) {
    fs::create_directory(out_ / "my scans");
    const std::vector<std::vector<std::string>> commandLines{
        {}, {out_, out_}, {out_ / "my", "scans"}};  // the last: a name with spaces, unquoted
    for (const auto& args : commandLines) {
        const Outcome outcome = run(args);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out, kUsage);
        EXPECT_EQ(outcome.err, "");
    }
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(out_), {}), 1);  // only "my scans"
}

TEST_F(RamtallyTest, UnopenableFileIsReportedWithStatusZero) {
    std::ofstream(out_ / "plain") << "a file, not a directory";
    expectRefused(run({out_ / "missing"}));
    expectRefused(run({out_ / "plain"}));
    EXPECT_FALSE(fs::exists(out_ / "missing"));
}

TEST_F(RamtallyTest, WritesIntoDirectoryAsGiven) {
    fs::create_directory(out_ / "my scans");
    expectWritten(run({out_ / "my scans"}, "536870912"), out_ / "my scans" / "ramsize.dat", "512");
    expectWritten(run({out_.string() + "/"}, "536870912"), out_ / "ramsize.dat", "512");
}

TEST_F(RamtallyTest, ExistingFileIsOverwrittenNotAppendedTo) {
    std::ofstream(out_ / "ramsize.dat") << "4294967295 and more\n";
    expectWritten(run({out_}, "536870911"), out_ / "ramsize.dat", "511");
}

TEST_F(RamtallyTest, PathLongerThan255CharactersIsRefused) {
    // The path is the argument, a separator and the 11 letters of "ramsize.dat".
    const std::string fits = directoryOfLength(243);
    const std::string longer = directoryOfLength(244);
    expectRefused(run({longer}, "536870912"));
    expectRefused(run({fits + "/"}, "536870912"));  // the user's separator is kept, not merged
    expectRefused(run({std::string(4096, 'x')}, "536870912"));
    EXPECT_FALSE(fs::exists(longer + "/ramsize.dat"));
    EXPECT_FALSE(fs::exists(fits + "/ramsize.dat"));

    expectWritten(run({fits}, "536870912"), fits + "/ramsize.dat", "512");
    const std::string shorter = directoryOfLength(242);
    expectWritten(run({shorter + "/"}, "536870911"), shorter + "/ramsize.dat", "511");
}

TEST_F(RamtallyTest, FigureIsTheHostsTotalMemoryInMebibytes) {
    const unsigned long long bytes = static_cast<unsigned long long>(sysconf(_SC_PHYS_PAGES)) *
                                     static_cast<unsigned long long>(sysconf(_SC_PAGE_SIZE));
    expectWritten(run({out_}), out_ / "ramsize.dat", std::to_string(bytes >> 20));
}

using Figure = std::pair<std::string, std::string>;  // byte count, file contents

class RamtallyFigureTest : public RamtallyTest, public ::testing::WithParamInterface<Figure> {};

TEST_P(RamtallyFigureTest, WholeMebibytesRemainderDropped) {
    const auto& [bytes, figure] = GetParam();
    expectWritten(run({out_}, bytes), out_ / "ramsize.dat", figure);
}

INSTANTIATE_TEST_SUITE_P(ByteCounts, RamtallyFigureTest,
                         ::testing::Values(Figure{"536870912", "512"}, Figure{"536870911", "511"},
                                           Figure{"4294967295", "4095"},
                                           Figure{"4294967296", "4096"},
                                           Figure{"8590983167", "8192"}),
                         [](const auto& info) { return "bytes_" + info.param.first; });

}  // namespace
