#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/TestUtil.h"

// Failures that end a run: each gives exactly one "Error: " line naming what
// failed and status 2, never status 0 with lost results.
namespace {

using testutil::ReadFile;
using testutil::TempDir;

// The worked example with a mixture model for the interacting state, so that
// learning prints progress lines on standard output, and a binding list that
// runs the default analysis.
void WriteMixtureExample(const TempDir& d)
{
    testutil::WriteWorkedExample(d);
    d.Write("models", "0 OM_BINARY 0.8\n1 OM_MIXTURE 3 2 0.5 OM_BINARY 0.1 0.5 OM_BINARY 0.3\n");
}

std::vector<std::string> Words(const std::string& log, const std::string& pred, const std::string& obs = "obs")
{
    return {"-f",   "2", "2",  "-l",    "2",     obs, "models", "pmc", "act", "inact",
            "wait", log, pred, "pairs", "pairs", "1", "len",    "10",  "cov"};
}

enum class Closed { NONE, STDOUT, STDERR };

// Runs the program from `d` with standard output thrown away and standard
// error captured, or with one of them closed.
testutil::RunResult RunWith(const TempDir& d, const std::vector<std::string>& words, Closed closed = Closed::NONE)
{
    testutil::RunOptions o;
    o.cwd = d.Path();
    o.stdoutFile = "/dev/null";
    o.closeStdout = closed == Closed::STDOUT;
    o.closeStderr = closed == Closed::STDERR;
    return testutil::RunProgram(MOTIFBIND_EXE, words, o);
}

} // namespace

TEST(ErrorPath, FullDiskForEitherOutput)
{
    TempDir d;
    WriteMixtureExample(d);
    auto r = RunWith(d, Words("/dev/full", "pred"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Error: can't write /dev/full\n");

    r = RunWith(d, Words("log", "/dev/full"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Error: can't write /dev/full\n");
    // The log is intact up to the failure and does not claim a finished run.
    const std::string log = ReadFile(d.File("log"));
    EXPECT_NE(log.find("****** RunEM with DDI ..."), std::string::npos);
    EXPECT_EQ(log.find("*** End of file."), std::string::npos);
}

TEST(ErrorPath, ClosedStandardStreams)
{
    TempDir d;
    WriteMixtureExample(d);
    // Standard output closed: mixture progress cannot be written.
    auto r = RunWith(d, Words("log", "pred"), Closed::STDOUT);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Error: can't write standard output\n");
    const std::string log = ReadFile(d.File("log"));
    EXPECT_EQ(log.rfind("*** Command line:", 0), 0u);
    EXPECT_EQ(log.find("*** End of file."), std::string::npos);

    // Standard error closed while a warning is due: a failure status even
    // though nothing can be said.
    std::filesystem::remove(d.File("log"));
    std::filesystem::remove(d.File("pred"));
    d.Write("obs2", "1 0 1 0 1\nheader line\n");
    r = RunWith(d, Words("log", "pred", "obs2"), Closed::STDERR);
    EXPECT_EQ(r.status, 2);
}

TEST(ErrorPath, DirectoryAsInputOrOutput)
{
    TempDir d;
    WriteMixtureExample(d);
    std::filesystem::create_directory(d.File("adir"));
    auto r = RunWith(d, Words("log", "pred", "adir"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Error: can't open adir: it is a directory\n");
    EXPECT_FALSE(testutil::FileExists(d.File("log")));
    // An existing directory as an output is an existing file: refused.
    r = RunWith(d, Words("adir", "pred"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Error: file already exists: adir\n");
}

TEST(ErrorPath, BindingListFromAPipe)
{
    // The binding list feeds the predictions and the analysis; it is read
    // once, so a FIFO serves it like a file, with the same results.
    TempDir d;
    WriteMixtureExample(d);
    auto r = RunWith(d, Words("log", "pred"));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string log = ReadFile(d.File("log")), pred = ReadFile(d.File("pred"));
    ASSERT_NE(log.find("*** SetNonBind"), std::string::npos);
    std::filesystem::remove(d.File("log"));
    std::filesystem::remove(d.File("pred"));

    ASSERT_EQ(mkfifo(d.File("fifo").c_str(), 0600), 0);
    // The writer waits for the program to open the FIFO, but never forever:
    // a run that fails before it would otherwise hang the test.
    std::signal(SIGPIPE, SIG_IGN);
    const std::string text = ReadFile(d.File("pairs"));
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i) {
            const int fd = open(d.File("fifo").c_str(), O_WRONLY | O_NONBLOCK);
            if (fd < 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            fcntl(fd, F_SETFL, 0);
            if (write(fd, text.data(), text.size()) < 0)
                ADD_FAILURE() << "writing the FIFO failed";
            close(fd);
            return;
        }
    });
    auto words = Words("log", "pred");
    words[14] = "fifo";
    r = RunWith(d, words);
    writer.join();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(d.File("pred")), pred);
    // The log differs from the first only in the echoed name of the list.
    std::string expected = log;
    const auto at = expected.find(" pairs pairs ");
    ASSERT_NE(at, std::string::npos);
    expected.replace(at, 13, " pairs fifo ");
    EXPECT_EQ(ReadFile(d.File("log")), expected);
}
