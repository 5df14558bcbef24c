#pragma once

#include <string>
#include <string_view>

// Builds the text of one input file: whitespace-separated numbers and words,
// tab between fields, one record per line. Reals are written with six
// significant digits; the same values give the same bytes on every run.
class TextFile {
public:
    TextFile& Int(long long x);
    TextFile& Real(double x);
    TextFile& Word(std::string_view w);
    void EndLine();

    const std::string& Text() const { return text_; }

private:
    void Separate();

    std::string text_;
    bool lineStart_ = true;
};

// A real with six significant digits, as written into the files.
std::string FormatReal(double x);
