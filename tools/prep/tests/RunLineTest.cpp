// The line motifbind-prep (and motifbind-sim) ends with: it must run as
// printed, with the motifbind of the same build or installation, while the
// log still echoes the bare name motifbind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "tools/prep/tests/AnnotationFiles.h"
#include "tools/toolbox/ProgramPath.h"
#include "tools/toolbox/RunCommand.h"

namespace fs = std::filesystem;

namespace {

class RunLineTest : public AnnotationFiles {
protected:
    // An executable shell script at `name` under the test folder.
    fs::path Program(const std::string& name, const std::string& body = "exit 0\n") const
    {
        const fs::path p = Path(name);
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "#!/bin/sh\n" << body;
        fs::permissions(p, fs::perms::owner_all, fs::perm_options::add);
        return p;
    }
};

// Sets PATH for one test and puts the old value back.
class PathSetting {
public:
    explicit PathSetting(const std::string& value)
    {
        if (const char* old = std::getenv("PATH")) {
            old_ = old;
        }
        ::setenv("PATH", value.c_str(), 1);
    }
    ~PathSetting()
    {
        if (old_) {
            ::setenv("PATH", old_->c_str(), 1);
        } else {
            ::unsetenv("PATH");
        }
    }

private:
    std::optional<std::string> old_;
};

TEST_F(RunLineTest, NamesTheFolderOnlyWhenGivenAndQuotesWhatTheShellWouldSplit)
{
    EXPECT_EQ(RunLine("out/own", ""), "run: cd out/own && $(cat command.txt)\n");
    EXPECT_EQ(RunLine("out/own", "/opt/mb-1.0.0/bin"),
              "run: cd out/own && PATH=/opt/mb-1.0.0/bin:$PATH $(cat command.txt)\n");
    EXPECT_EQ(RunLine("my run", "/home/a b/build"),
              "run: cd 'my run' && PATH='/home/a b/build':$PATH $(cat command.txt)\n");
    EXPECT_EQ(RunLine("it's", "$HOME/*"), "run: cd 'it'\\''s' && PATH='$HOME/*':$PATH $(cat command.txt)\n");
}

// A real shell runs the line from the folder above the set: it enters the
// set, finds the motifbind of the named folder before one earlier on PATH,
// and passes the words of command.txt.
TEST_F(RunLineTest, RunsAsPrintedInAShellWithAwkwardNames)
{
    Program("decoy/motifbind", "echo decoy > ran.txt\n");
    Program("it's $x/motifbind", "echo \"$@\" > ran.txt\n");
    fs::create_directories(Path("my set"));
    std::ofstream(Path("my set/command.txt")) << "motifbind -f 3 2 a.txt\n";

    const std::string line = RunLine("my set", Path("it's $x"));
    const std::string cmd = "cd '" + Path("") + "' && PATH='" + Path("decoy") + "':/usr/bin:/bin sh -c \"$LINE\"";
    ::setenv("LINE", line.substr(std::string("run: ").size()).c_str(), 1);
    ASSERT_EQ(std::system(cmd.c_str()), 0) << line;
    std::ifstream in(Path("my set/ran.txt"));
    std::string ran;
    std::getline(in, ran);
    EXPECT_EQ(ran, "-f 3 2 a.txt");
}

TEST_F(RunLineTest, FindsTheMotifbindBesideAnInstalledHelperOrAboveOneInABuildTree)
{
    // Installed: one bin folder.
    Program("inst/bin/motifbind");
    EXPECT_EQ(MotifbindBeside(Path("inst/bin/motifbind-prep")), fs::path(Path("inst/bin/motifbind")));
    // Build tree: helpers under tools/.
    Program("build/motifbind");
    EXPECT_EQ(MotifbindBeside(Path("build/tools/motifbind-prep")), fs::path(Path("build/motifbind")));
    // Both: the one beside wins.
    Program("build/tools/motifbind");
    EXPECT_EQ(MotifbindBeside(Path("build/tools/motifbind-prep")), fs::path(Path("build/tools/motifbind")));
    // Neither, a file that cannot run, a folder of that name, no own path.
    EXPECT_EQ(MotifbindBeside(Path("alone/bin/motifbind-prep")), fs::path());
    fs::create_directories(Path("plain"));
    std::ofstream(Path("plain/motifbind")) << "not a program\n";
    fs::create_directories(Path("dir/sub/motifbind"));
    EXPECT_EQ(MotifbindBeside(Path("plain/motifbind-prep")), fs::path());
    EXPECT_EQ(MotifbindBeside(Path("dir/sub/motifbind-prep")), fs::path());
    EXPECT_EQ(MotifbindBeside(fs::path()), fs::path());
}

TEST_F(RunLineTest, FindsOnPathTheFirstExecutableFileAsAShellWould)
{
    Program("a/motifbind");
    Program("b/motifbind");
    fs::create_directories(Path("d/motifbind"));
    fs::create_directories(Path("n"));
    std::ofstream(Path("n/motifbind")) << "not a program\n";
    EXPECT_EQ(FindOnPath("motifbind", Path("d") + ":" + Path("n") + ":" + Path("b") + ":" + Path("a")),
              fs::path(Path("b")) / "motifbind");
    EXPECT_EQ(FindOnPath("motifbind", Path("missing") + "::" + Path("d")), fs::path());
    EXPECT_EQ(FindOnPath("motifbind", ""), fs::path());
}

// This test program lies in the build tree's tools/ folder, as the helpers
// do, so the line it makes names the build's motifbind unless PATH finds
// that very file.
TEST_F(RunLineTest, NamesThisBuildsMotifbindUnlessPathFindsIt)
{
    const fs::path own = MotifbindBeside(SelfExe());
    if (own.empty()) {
        GTEST_SKIP() << "motifbind is not built beside " << SelfExe();
    }
    EXPECT_EQ(own.parent_path(), SelfExe().parent_path().parent_path());
    {
        const PathSetting path("/usr/bin:/bin");
        EXPECT_EQ(RunLine("set"), RunLine("set", own.parent_path().string()));
    }
    {
        const PathSetting path(Path("") + ":" + own.parent_path().string());
        EXPECT_EQ(RunLine("set"), "run: cd set && $(cat command.txt)\n");
    }
    {
        // Another motifbind first on PATH: this build's still runs.
        Program("other/motifbind");
        const PathSetting path(Path("other") + ":" + own.parent_path().string());
        EXPECT_EQ(RunLine("set"), RunLine("set", own.parent_path().string()));
    }
}

} // namespace
