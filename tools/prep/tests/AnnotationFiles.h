#pragma once

// Small hand-written input files for the FASTA and domain reader tests, each
// test in a fresh folder that is removed afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tools/common/ToolError.h"

class AnnotationFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::path(::testing::TempDir()) /
               (std::string("prep_") + t->test_suite_name() + "_" + t->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Writes `text` as it is into a file of the test folder; returns its path.
    std::string Write(const std::string& name, const std::string& text) const
    {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
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
