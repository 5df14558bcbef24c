#pragma once

// Small hand-written input files for the FASTA and domain reader tests, each
// test in a fresh folder that is removed afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/TempDir.h"
#include "tools/toolbox/ToolError.h"

class AnnotationFiles : public ::testing::Test {
protected:
    // Writes `text` as it is into a file of the test folder; returns its path.
    std::string Write(const std::string& name, const std::string& text) const
    {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

private:
    testutil::TempDir tmp_;
    const std::filesystem::path dir_ = tmp_.Path();
};

// The message of the ToolError that `f` throws, or a note that it threw none.
template <typename F>
std::string ErrorOf(F f)
{
    try {
        f();
    } catch (const ToolError& e) {
        return e.what();
    }
    return "(no error)";
}

// An error names the file and line first and is one line.
inline ::testing::AssertionResult IsLineError(const std::string& message, const std::string& path, std::size_t line)
{
    const std::string place = path + " line " + std::to_string(line) + ": ";
    if (message.rfind(place, 0) != 0) {
        return ::testing::AssertionFailure() << "expected \"" << place << "...\", got \"" << message << "\"";
    }
    if (message.find('\n') != std::string::npos) {
        return ::testing::AssertionFailure() << "more than one line: " << message;
    }
    return ::testing::AssertionSuccess();
}
