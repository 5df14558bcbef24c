#pragma once

#include <cstddef>
#include <string>

// Reads a text file line by line, plain or gzip-compressed (recognised by its
// content, not its name). Line ends ("\n" or "\r\n") are removed. A line
// longer than MAX_LINE bytes, a file that cannot be opened and a damaged
// compressed stream are refused with a ToolError naming the file and line.
class LineReader {
public:
    static constexpr std::size_t MAX_LINE = 1 << 20;

    explicit LineReader(std::string path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line into `line`; false at the end of the file.
    bool Next(std::string& line);
    // Number of the line last returned, counted from 1.
    std::size_t LineNo() const { return lineNo_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    void* file_ = nullptr;  // gzFile
    std::size_t lineNo_ = 0;
};
