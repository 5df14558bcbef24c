#pragma once

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "support/RunProgram.h"
#include "support/TempDir.h"

// Helpers shared by the test suites that know motifbind; the test kit
// (temporary folders, running a program) comes with them.
namespace testutil {

// The smallest complete data set: proteins 1 and 0 carry motifs 0 and 1, the
// motif pair is active with affinity 0.5, and the pair (1, 0) has one
// observation of value 1 under binary models giving P1 = 0.8 and P0 = 0.2.
// File names: obs models pmc act inact wait pairs len cov.
void WriteWorkedExample(const TempDir& d);

// Runs the built motifbind with `args` (each word passed as is), from `cwd`.
RunResult RunMotifbind(const std::vector<std::string>& args, const std::string& cwd);

// Runs the built motifbind from `cwd` with `name` as its program name
// (argv[0], which the program echoes into the first log line) followed by
// `args`.
RunResult RunMotifbindAs(const std::string& name, const std::vector<std::string>& args, const std::string& cwd);

// Collects what is written to standard error while alive.
class CerrCapture {
public:
    CerrCapture() : old(std::cerr.rdbuf(buf.rdbuf())) {}
    ~CerrCapture() { std::cerr.rdbuf(old); }
    CerrCapture(const CerrCapture&) = delete;
    CerrCapture& operator=(const CerrCapture&) = delete;
    std::string Text() const { return buf.str(); }

private:
    std::ostringstream buf;
    std::streambuf* old;
};

// The folder of the recorded golden cases (tests/golden).
std::filesystem::path GoldenDir();

// Runs RunMain in this process with the given words (program name first),
// capturing standard output and standard error.
RunResult RunInProcess(const std::vector<std::string>& words);

} // namespace testutil
