// The helpers' one line reader: what it hands out for plain and gzip input,
// and how each kind of input it must not take ends in one error that names
// the file and the line.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <zlib.h>

#include "support/TempDir.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/ToolError.h"

namespace fs = std::filesystem;

namespace {

class LineReaderTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    testutil::TempDir tmp_;
    const std::filesystem::path dir_ = tmp_.Path();
};

// `text` as one gzip member.
std::string Gzip(const std::string& text)
{
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, 6, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&z, static_cast<uLong>(text.size())) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::vector<std::string> Lines(LineReader& in)
{
    std::vector<std::string> lines;
    for (std::string line; in.Next(line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Lines(const std::string& path)
{
    LineReader in(path);
    return Lines(in);
}

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

using V = std::vector<std::string>;

TEST_F(LineReaderTest, LinesOfPlainAndCompressedInputAreTheSame)
{
    const std::string text = "\xEF\xBB\xBFone\r\ntwo\n\nthree";
    EXPECT_EQ(Lines(Write("a.txt", text)), (V{"one", "two", "", "three"}));
    EXPECT_EQ(Lines(Write("a.gz", Gzip(text))), (V{"one", "two", "", "three"}));
    // Members joined by cat are read one after the other.
    EXPECT_EQ(Lines(Write("ab.gz", Gzip("one\ntw") + Gzip("o\nthree\n"))), (V{"one", "two", "three"}));
    EXPECT_EQ(Lines(Write("empty.txt", "")), V{});
    EXPECT_EQ(Lines(Write("empty.gz", Gzip(""))), V{});
    // A byte-order mark only at the very start.
    EXPECT_EQ(Lines(Write("bom.txt", "x\n\xEF\xBB\xBFy\n")), (V{"x", "\xEF\xBB\xBFy"}));

    // The last line tells whether it had its line break.
    LineReader in("memory", "a\nb");
    std::string line;
    ASSERT_TRUE(in.Next(line));
    EXPECT_TRUE(in.LineEnded());
    ASSERT_TRUE(in.Next(line));
    EXPECT_EQ(line, "b");
    EXPECT_FALSE(in.LineEnded());
    EXPECT_EQ(in.LineNo(), 2u);
    EXPECT_FALSE(in.Next(line));
}

TEST_F(LineReaderTest, LongLinesAndNulBytesNameTheLine)
{
    const std::string longest(LineReader::MAX_LINE, 'x');
    EXPECT_EQ(Lines(Write("max.txt", "a\n" + longest + "\n")).at(1).size(), LineReader::MAX_LINE);
    const std::string longer = Write("long.txt", "a\nb\n" + longest + "x\n");
    EXPECT_EQ(ErrorOf([&] { Lines(longer); }),
              longer + " line 3: a line longer than 1048576 bytes; expected a text file of records, one per line");
    const std::string nul = Write("nul.txt", "a\nb\nabcd" + std::string(1, '\0') + "e\n");
    EXPECT_EQ(ErrorOf([&] { Lines(nul); }), nul + " line 3: a NUL byte at column 5; expected a text file");
    // The same inside compressed data, a line split across members too.
    const std::string gz = Write("nul.gz", Gzip("a\nab") + Gzip(std::string("c\0", 2)));
    EXPECT_EQ(ErrorOf([&] { Lines(gz); }), gz + " line 2: a NUL byte at column 4; expected a text file");
    // /dev/zero is a line of NULs: refused at once.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ErrorOf([&] { Lines("/dev/zero"); }), "/dev/zero line 1: a NUL byte at column 1; expected a text file");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(LineReaderTest, DamagedCutOrExtendedGzipIsRefused)
{
    const std::string whole = Gzip("first\nsecond\n");
    const std::string cut = Write("cut.gz", whole.substr(0, whole.size() - 6));
    EXPECT_EQ(ErrorOf([&] { Lines(cut); }),
              cut + " line 3: the gzip data ends early; expected a complete gzip file (a cut download or copy?)");
    // A wrong check sum in the trailer.
    std::string damaged = whole;
    damaged[damaged.size() - 6] = static_cast<char>(damaged[damaged.size() - 6] ^ 0x55);
    const std::string bad = Write("bad.gz", damaged);
    EXPECT_EQ(ErrorOf([&] { Lines(bad); }),
              bad + " line 1: damaged gzip data (incorrect data check); expected an intact gzip file");
    // cat a.gz notes.txt: the notes would be lost unread.
    const std::string joined = Write("joined.gz", whole + "plain text\n");
    EXPECT_EQ(ErrorOf([&] { Lines(joined); }),
              joined + " line 3: data after the end of the gzip data that is not another gzip member (" +
                  std::to_string(whole.size()) +
                  " compressed bytes read); expected a gzip file, or members joined by cat, but not gzip and plain "
                  "text joined");
}

TEST_F(LineReaderTest, AGzipBombIsStoppedByItsExpansion)
{
    // 65 MiB of lines of residues from some 70 KiB: past the floor and far
    // beyond 100 times the compressed size.
    const std::string path = Path("bomb.gz");
    gzFile f = gzopen(path.c_str(), "wb9");
    ASSERT_NE(f, nullptr);
    std::string block;
    while (block.size() < (std::size_t(1) << 20)) {
        block += std::string(1023, 'A') + "\n";
    }
    for (int i = 0; i < 65; ++i) {
        ASSERT_EQ(gzwrite(f, block.data(), static_cast<unsigned>(block.size())), static_cast<int>(block.size()));
    }
    ASSERT_EQ(gzclose(f), Z_OK);
    std::size_t lines = 0;
    const std::string message = ErrorOf([&] {
        LineReader in(path);
        for (std::string line; in.Next(line);) {
            ++lines;
        }
    });
    EXPECT_GT(lines, 60000u);
    EXPECT_EQ(message.rfind(path + " line ", 0), 0u) << message;
    EXPECT_NE(message.find("the gzip data expands to more than 100 times its size"), std::string::npos) << message;
    EXPECT_NE(message.find("not a decompression bomb"), std::string::npos) << message;
}

TEST_F(LineReaderTest, WhatIsNoReadableFileIsNamed)
{
    EXPECT_EQ(ErrorOf([&] { LineReader in(dir_.string()); }), dir_.string() + " is a directory; expected a file");
    const std::string missing = Path("missing.txt");
    EXPECT_EQ(ErrorOf([&] { LineReader in(missing); }),
              "cannot open " + missing + ": No such file or directory; expected a readable file");
}

TEST_F(LineReaderTest, AFifoIsReadLikeAFile)
{
    // What <(zcat f) hands over: the same lines, compressed or not.
    for (const std::string& bytes : {std::string("x\ny\n"), Gzip("x\ny\n")}) {
        const std::string path = Path("fifo");
        fs::remove(path);
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        std::thread writer([&] { std::ofstream(path, std::ios::binary) << bytes; });
        const V lines = Lines(path);
        writer.join();
        EXPECT_EQ(lines, (V{"x", "y"}));
    }
}

TEST_F(LineReaderTest, WordsAreBoundedAndQuotedValuesShowControlBytes)
{
    LineReader in("table.txt", "1 2\t3\n");
    std::string line;
    ASSERT_TRUE(in.Next(line));
    EXPECT_EQ(Words(in, line), (std::vector<std::string_view>{"1", "2", "3"}));
    const std::string word(LineReader::MAX_TOKEN + 1, '7');
    const std::string cut(40, '7');
    EXPECT_EQ(ErrorOf([&] { Words(in, "1 " + word); }),
              "table.txt line 1: a word of 4097 characters, '" + cut + "...'; expected words of at most 4096");
    // A terminal's escape sequence from a file never reaches the terminal.
    EXPECT_EQ(Shown("a\x1b[31mb\tc\x7f"), "'a\\x1b[31mb\\x09c\\x7f'");
    const std::string y(40, 'y');
    EXPECT_EQ(Shown(y + "y"), "'" + y + "...'");
}

} // namespace
