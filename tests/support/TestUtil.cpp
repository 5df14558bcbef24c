#include "support/TestUtil.h"

#include <fcntl.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

#include "app/Run.h"

namespace testutil {

TempDir::TempDir()
{
    char tmpl[] = "/tmp/motifbind-test-XXXXXX";
    const char* p = mkdtemp(tmpl);
    path = p ? p : "/tmp";
}

TempDir::~TempDir()
{
    std::error_code ec;
    if (path != "/tmp")
        std::filesystem::remove_all(path, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& text) const
{
    const std::string f = File(name);
    std::ofstream(f, std::ios::binary) << text;
    return f;
}

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

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string Quote(const std::string& w)
{
    std::string q = "'";
    for (char c : w) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

RunResult RunMotifbind(const std::vector<std::string>& args, const std::string& cwd)
{
    TempDir cap;
    std::string cmd = "cd ";
    cmd += Quote(cwd);
    cmd += " && ";
    cmd += Quote(MOTIFBIND_EXE);
    for (const auto& a : args) {
        cmd += ' ';
        cmd += Quote(a);
    }
    cmd += " >";
    cmd += Quote(cap.File("out"));
    cmd += " 2>";
    cmd += Quote(cap.File("err"));
    cmd += " </dev/null";
    RunResult r;
    const int rc = std::system(cmd.c_str());
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = ReadFile(cap.File("out"));
    r.err = ReadFile(cap.File("err"));
    return r;
}

RunResult RunMotifbindAs(const std::string& name, const std::vector<std::string>& args, const std::string& cwd)
{
    return RunProgram(MOTIFBIND_EXE, name, args, cwd);
}

RunResult RunProgram(const std::string& exe, const std::string& name, const std::vector<std::string>& args,
                     const std::string& cwd)
{
    TempDir cap;
    const std::string outPath = cap.File("out"), errPath = cap.File("err");
    // Everything the child needs is built before the fork, so the child only
    // makes system calls.
    std::vector<std::string> words;
    words.push_back(name);
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    RunResult r;
    const pid_t pid = fork();
    if (pid < 0)
        return r;
    if (pid == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
            chdir(cwd.c_str()) != 0)
            _exit(126);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    int rc = 0;
    while (waitpid(pid, &rc, 0) < 0) {
        if (errno != EINTR)
            return r;
    }
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = ReadFile(outPath);
    r.err = ReadFile(errPath);
    return r;
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
