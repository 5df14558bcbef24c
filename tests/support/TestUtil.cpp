#include "support/TestUtil.h"

#include <iostream>
#include <sstream>

#include "app/Run.h"

namespace testutil {

void WriteWorkedExample(const TempDir& d)
{
    d.Write("obs", "1 0 1 0 1\n");
    d.Write("models", "0 OM_BINARY 0.8\n1 OM_BINARY 0.2\n");
    d.Write("pmc", "1 0 5\n0 1 5\n");
    d.Write("act", "0 1 0.5\n");
    d.Write("inact", "");
    d.Write("wait", "");
    d.Write("pairs", "1 0\n");
    d.Write("len", "0 10\n1 10\n");
    d.Write("cov", "0 5\n1 5\n");
}

RunResult RunMotifbind(const std::vector<std::string>& args, const std::string& cwd)
{
    RunOptions o;
    o.cwd = cwd;
    return RunProgram(MOTIFBIND_EXE, args, o);
}

RunResult RunMotifbindAs(const std::string& name, const std::vector<std::string>& args, const std::string& cwd)
{
    RunOptions o;
    o.argv0 = name;
    o.cwd = cwd;
    return RunProgram(MOTIFBIND_EXE, args, o);
}

RunResult RunInProcess(const std::vector<std::string>& words)
{
    std::vector<std::string> copy = words;
    std::vector<char*> argv;
    for (auto& w : copy)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    std::ostringstream out, err;
    auto* oldOut = std::cout.rdbuf(out.rdbuf());
    auto* oldErr = std::cerr.rdbuf(err.rdbuf());
    RunResult r;
    r.status = RunMain(int(words.size()), argv.data());
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::filesystem::path GoldenDir() { return std::filesystem::path(MOTIFBIND_TEST_DATA).parent_path() / "golden"; }

} // namespace testutil
