#include "tools/toolbox/TextFile.h"

#include <charconv>
#include <cstdio>

std::string FormatReal(double x)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", x);
    return buf;
}

void TextFile::Separate()
{
    if (!lineStart_) {
        text_ += '\t';
    }
    lineStart_ = false;
}

TextFile& TextFile::Int(long long x)
{
    Separate();
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    text_.append(buf, res.ptr);
    return *this;
}

TextFile& TextFile::Real(double x)
{
    Separate();
    text_ += FormatReal(x);
    return *this;
}

TextFile& TextFile::Word(std::string_view w)
{
    Separate();
    text_ += w;
    return *this;
}

void TextFile::EndLine()
{
    text_ += '\n';
    lineStart_ = true;
}
