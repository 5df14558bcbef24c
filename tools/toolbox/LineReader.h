#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tools/toolbox/ToolError.h"

// Reads a text input line by line with the bounds every helper's reader
// shares. The bytes come from a file (regular, a FIFO such as <(zcat f), a
// device) or from memory. Input that starts like gzip is decompressed,
// member after member, as `cat a.gz b.gz` makes it; anything else is read as
// it is. Line ends ("\n", "\r\n") and a UTF-8 byte-order mark at the start
// are removed. Refused with a ToolError naming the input, and the line where
// there is one:
//   - a name that cannot be opened, a directory, a failed read;
//   - a line longer than MAX_LINE bytes, a NUL byte (no text file holds one;
//     /dev/zero and binary files are all NULs and long lines);
//   - damaged or cut gzip data, and data after a gzip member that is not
//     another member (`cat a.gz notes.txt`): it would be lost unread;
//   - gzip data that has expanded past EXPANSION_FLOOR bytes and to more
//     than MAX_EXPANSION times its compressed size, which no text file of
//     records does but a decompression bomb does.
class LineReader {
public:
    static constexpr std::size_t MAX_LINE = std::size_t(1) << 20;
    // A whitespace-separated word of a number table (Words).
    static constexpr std::size_t MAX_TOKEN = 4096;
    static constexpr std::uint64_t EXPANSION_FLOOR = std::uint64_t(64) << 20;
    static constexpr std::uint64_t MAX_EXPANSION = 100;

    // Opens the file `path`, which names it in messages.
    explicit LineReader(std::string path);
    // Reads `bytes`, which must outlive the reader; `name` stands for them.
    LineReader(std::string name, std::string_view bytes);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line into `line`; false at the end of the input.
    bool Next(std::string& line);
    // Number of the line last returned, counted from 1.
    std::size_t LineNo() const { return lineNo_; }
    const std::string& Path() const { return path_; }
    // False when the line last returned is the input's last and has no
    // line break: a file cut while it was written.
    bool LineEnded() const { return lineEnded_; }
    bool Compressed() const { return gzip_; }

    // "PATH line N: what" for the line last returned.
    ToolError Error(const std::string& what) const { return LineError(path_, lineNo_, what); }

private:
    struct Inflater;

    std::string path_;
    int fd_ = -1;
    std::string_view memory_;
    std::size_t memoryAt_ = 0;

    std::vector<unsigned char> raw_; // bytes as read
    std::size_t rawAt_ = 0;
    std::size_t rawEnd_ = 0;
    bool rawDone_ = false;

    bool started_ = false;
    bool gzip_ = false;
    std::unique_ptr<Inflater> inflater_;
    std::vector<char> out_; // decompressed bytes
    std::uint64_t compressed_ = 0;
    std::uint64_t expanded_ = 0;

    const char* text_ = nullptr; // the bytes lines are cut from
    std::size_t textAt_ = 0;
    std::size_t textEnd_ = 0;

    std::size_t lineNo_ = 0;
    bool lineEnded_ = true;

    std::size_t ReadSome(unsigned char* to, std::size_t n);
    bool Raw(std::size_t least);
    void Start();
    bool Fill();
    bool Inflate();
    [[noreturn]] void Fail(const std::string& what) const;
};

// The words of a line, split at blanks, tabs and the other white-space
// characters; a word longer than LineReader::MAX_TOKEN is refused naming
// the line of `in`.
std::vector<std::string_view> Words(const LineReader& in, std::string_view line);
