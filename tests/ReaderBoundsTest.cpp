// The readers take their input as a stream of whole tokens through a
// bounded buffer: line numbers must survive chunk boundaries, one overlong
// token or a failing source ends the input with an InputErr (never an abort
// or an unbounded allocation), messages quote at most 40 characters of a
// token, and mixtures nest at most MAXMIXDEPTH deep.

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "dist/Distribution.h"
#include "io/BoundedBuf.h"
#include "io/FileOpen.h"
#include "io/ObsReader.h"
#include "io/RecordReader.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "support/TestUtil.h"

using testutil::CerrCapture;

namespace {

// (first, second, line of the record) for every record of two integers.
using Recs = std::vector<std::tuple<long long, long long, int>>;

struct Read {
    Recs recs;
    std::string err;
};

// Reads records of two integers as the protein-value readers do.
Read ReadPairs(std::istream& in)
{
    Read out;
    CerrCapture cap;
    RecordReader r(in);
    while (r.Start()) {
        long long a = 0, b = 0;
        if (!(r.Get(a) && r.Get(b))) {
            r.WarnStop();
            break;
        }
        out.recs.emplace_back(a, b, r.RecordLine());
    }
    out.err = cap.Text();
    return out;
}

Read ReadPairs(const std::string& text)
{
    std::istringstream in(text);
    return ReadPairs(in);
}

// The InputErr message of reading `in` to its end, or "" when none.
std::string ErrorOf(std::istream& in)
{
    try {
        ReadPairs(in);
    } catch (const InputErr& e) {
        return e.what();
    }
    return "";
}

std::string ErrorOf(const std::string& text)
{
    std::istringstream in(text);
    return ErrorOf(in);
}

// Hands out `text`, then fails as a file read error does.
class FailingBuf : public std::streambuf {
public:
    explicit FailingBuf(std::string t) : text(std::move(t))
    {
        setg(text.data(), text.data(), text.data() + text.size());
    }

protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }

private:
    std::string text;
};

// A model record whose distribution nests `depth` mixtures.
std::string Nested(int depth)
{
    std::string s;
    for (int i = 0; i < depth; ++i)
        s += "OM_MIXTURE 5 1 1 ";
    return s + "OM_BINARY 0.5";
}

// Records of two ints as the prediction lists read them, with the quick
// path for ids (`quick`) or plain formatted extraction: the values, the
// record lines and where reading stopped.
struct IntRead {
    std::vector<std::tuple<int, int, int>> recs;
    std::string err;
    bool operator==(const IntRead&) const = default;
};

IntRead ReadInts(const std::string& text, bool quick)
{
    std::istringstream in(text);
    IntRead out;
    CerrCapture cap;
    RecordReader r(in);
    while (r.Start()) {
        int a = 0, b = 0;
        const bool ok = quick ? (r.GetInt(a) && r.GetInt(b)) : (r.Get(a) && r.Get(b));
        if (!ok) {
            r.WarnStop();
            break;
        }
        out.recs.emplace_back(a, b, r.RecordLine());
    }
    out.err = cap.Text();
    return out;
}

std::string ModelError(const std::string& models)
{
    ObsModel om;
    ProtInter pi(2);
    std::istringstream m(models), o("");
    std::ostringstream out;
    try {
        ReadModelPPI(om, pi, m, o, out, nullptr, nullptr);
    } catch (const InputErr& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(ReaderBounds, LineNumbersAcrossChunkBoundaries)
{
    // Records at random offsets with every kind of line end and blank run,
    // over several chunks; records start exactly on, just before and just
    // after the first chunk boundary.
    std::mt19937 rng(7);
    const char* const gaps[] = {" ", "\t", "\n", "\r\n", "\n\n\n", "  \t ", "\f", "\v\r\n"};
    std::string text;
    Recs expected;
    int line = 1;
    auto gap = [&](const std::string& g) {
        for (const char c : g)
            line += c == '\n';
        text += g;
    };
    auto rec = [&](long long a, long long b) {
        expected.emplace_back(a, b, line);
        text += std::to_string(a);
        gap(gaps[rng() % 8]);
        text += std::to_string(b);
    };
    for (const std::size_t at : {READCHUNK - 1, READCHUNK, READCHUNK + 1}) {
        while (text.size() + 1 < at) {
            rec(rng() % 100000, rng() % 1000);
            gap(gaps[rng() % 8]);
        }
        while (text.size() < at)
            gap("\n");
        rec(123456789012LL, 42);
        gap("\n");
    }
    while (text.size() < 5 * READCHUNK) {
        rec(rng() % 100000, rng() % 1000);
        gap(gaps[rng() % 8]);
    }
    rec(1, 2); // no final line end

    const Read r = ReadPairs(text);
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(r.recs.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(r.recs[i], expected[i]) << "record " << i;

    // A warning after the boundaries names the right line.
    const Read w = ReadPairs(text + "\n\r\n x y\n");
    EXPECT_EQ(w.err, "Warning: <input>, line " + std::to_string(line + 2) +
                         ": reading stopped at 'x'; the rest of the file is ignored\n");
}

TEST(ReaderBounds, LineEndsAndTheEndOfTheFile)
{
    // CRLF line ends: no '\r' in a token, lines counted by '\n'.
    EXPECT_EQ(ReadPairs("0 100\r\n1 x\r\n").err,
              "Warning: <input>, line 2: reading stopped at 'x'; the rest of the file is ignored\n");
    const Read crlf = ReadPairs("0 100\r\n1 80");
    EXPECT_EQ(crlf.recs, (Recs{{0, 100, 1}, {1, 80, 2}}));
    EXPECT_EQ(crlf.err, "");
    // Cut short by the end: the line of the last token, not of the blank
    // lines after it.
    EXPECT_EQ(ReadPairs("0 100\r\n\r\n7\r\n\n\n").err,
              "Warning: <input>, line 3: reading stopped at end of file; the rest of the file is ignored\n");
    EXPECT_EQ(ReadPairs("").recs, Recs{});
    EXPECT_EQ(ReadPairs(" \n\t\r\n").err, "");
}

TEST(ReaderBounds, RefusedTokensAreNamedWhole)
{
    // A number too big for its field is quoted, not the token after it.
    const Read big = ReadPairs("1 2\n3\n99999999999999999999 5\n");
    EXPECT_EQ(big.recs, (Recs{{1, 2, 1}}));
    EXPECT_EQ(big.err,
              "Warning: <input>, line 3: reading stopped at '99999999999999999999'; the rest of the file "
              "is ignored\n");
    // A sign alone.
    EXPECT_EQ(ReadPairs("1 -\n2 3\n").err,
              "Warning: <input>, line 1: reading stopped at '-'; the rest of the file is ignored\n");
}

TEST(ReaderBounds, OneTokenIsBoundedNotOneLine)
{
    // At the limit, across the first chunk boundary: a number with leading
    // zeros is read as any other.
    const std::string pad(READCHUNK - 1000, ' ');
    const std::string atLimit = std::string(MAXTOKEN - 1, '0') + "7";
    const Read ok = ReadPairs("1 2\n" + pad + atLimit + " 3\n");
    EXPECT_EQ(ok.recs, (Recs{{1, 2, 1}, {7, 3, 2}}));
    EXPECT_EQ(ok.err, "");
    // ... and as the last thing in the file.
    EXPECT_EQ(ReadPairs("5 " + atLimit).recs, (Recs{{5, 7, 1}}));

    // One character more is not a text file of numbers: an error naming the
    // line the token starts on and its first 40 characters, never a warning.
    const std::string over = std::string(MAXTOKEN, '0') + "7";
    const std::string head(40, '0');
    const std::vector<std::pair<std::string, int>> cases = {
        {"1 2\n" + pad + over + " 3\n", 2}, // straddles the first chunk boundary
        {"1 2\n" + pad + "9 " + over, 2},   // in the middle of a record, at the end
        {"1 2\n\r\n" + over, 3},
        {over, 1}};
    for (const auto& [text, line] : cases) {
        CerrCapture cap;
        EXPECT_EQ(ErrorOf(text), "<input>, line " + std::to_string(line) + ": token '" + head +
                                     "...' is longer than 4096 characters; expected numbers and type words "
                                     "separated by white space");
        EXPECT_EQ(cap.Text(), "");
    }
    // Once reading has stopped at a bad token, what follows is not looked at.
    EXPECT_EQ(ErrorOf("1 2\nx\n" + over), "");

    // Many short tokens on one line of several chunks are fine.
    std::string line;
    for (int i = 0; i < 100000; ++i)
        line += std::to_string(i) + " " + std::to_string(i % 7) + "\t";
    const Read many = ReadPairs(line);
    EXPECT_EQ(many.err, "");
    ASSERT_EQ(many.recs.size(), 100000u);
    EXPECT_EQ(many.recs.back(), std::make_tuple(99999LL, 99999LL % 7, 1));
}

TEST(ReaderBounds, UnreadableSources)
{
    // /dev/zero is one endless token: refused at once, with a bounded buffer.
    {
        InFile zero;
        InFopen(zero, "/dev/zero");
        const auto t0 = std::chrono::steady_clock::now();
        const std::string err = ErrorOf(zero);
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(1));
        std::string nuls;
        for (int i = 0; i < 40; ++i)
            nuls += "\\x00";
        EXPECT_EQ(err, "/dev/zero, line 1: token '" + nuls +
                           "...' is longer than 4096 characters; expected numbers and type words separated by white "
                           "space");
    }
    // A read that fails part way, after whole records.
    {
        FailingBuf fb("1 2\n3 4\n5 ");
        std::istream in(&fb);
        EXPECT_EQ(ErrorOf(in), "<input>, line 1: the file could not be read; expected a readable text file");
    }
    // A stream already broken.
    {
        std::istringstream in("1 2\n");
        in.setstate(std::ios::badbit);
        EXPECT_NE(ErrorOf(in).find("could not be read"), std::string::npos);
    }
}

TEST(ReaderBounds, DirectoryIsNamed)
{
    // A directory opens as a stream on Linux but fails on its first read.
    testutil::TempDir d;
    InFile dir;
    dir.name = d.Path();
    dir.open(d.Path());
    if (!dir.is_open())
        GTEST_SKIP() << "a directory does not open as a stream here";
    EXPECT_EQ(ErrorOf(dir), d.Path().string() + ", line 1: the file could not be read; expected a readable text file");
}

TEST(ReaderBounds, MessagesQuoteFortyCharacters)
{
    const std::string word = "abcdefghij" + std::string(50, 'k') + "END";
    const std::string cut = word.substr(0, 40) + "...";
    EXPECT_EQ(ReadPairs("1 " + word + "\n").err,
              "Warning: <input>, line 1: reading stopped at '" + cut + "'; the rest of the file is ignored\n");
    // Exactly 40 are quoted in full.
    EXPECT_EQ(ReadPairs(word.substr(0, 40)).err, "Warning: <input>, line 1: reading stopped at '" + word.substr(0, 40) +
                                                     "'; the rest of the file is ignored\n");

    EXPECT_EQ(ModelError("3 OM_" + word + " 1\n"), "<input>, line 1: unknown observation model type 'OM_" +
                                                       word.substr(0, 37) +
                                                       "...' for model ID 3; expected OM_BINARY, OM_GAUSSIAN, "
                                                       "OM_EXPONENTIAL, OM_MIXTURE or OM_UNIFORM");
    EXPECT_EQ(ModelError("0 OM_BINARY 0.5\n3 OM_GAUSSIAN 1 " + word + "\n"),
              "<input>, line 2: model ID 3 is cut short at '" + cut +
                  "'; expected a type word (OM_BINARY, OM_GAUSSIAN, OM_EXPONENTIAL, OM_MIXTURE or OM_UNIFORM) and "
                  "all its parameters");
}

TEST(ReaderBounds, MixturesNestAtMostEightDeep)
{
    ASSERT_EQ(MAXMIXDEPTH, 8);
    // Eight levels are a distribution like any other.
    {
        std::istringstream in(Nested(8));
        const DistRead d = ReadDist(in);
        ASSERT_TRUE(d.dist);
        EXPECT_FALSE(d.tooDeep);
        EXPECT_DOUBLE_EQ(d.dist->GetProb(0), 0.5);
        std::ostringstream printed;
        d.dist->Print(printed, 0);
        std::istringstream again(printed.str());
        EXPECT_TRUE(ReadDist(again).dist);
    }
    EXPECT_EQ(ModelError("0 OM_BINARY 0.5\n3 " + Nested(8) + "\n"), "");

    // Nine are refused, also when the deep branch is a later component, and
    // so is a nesting that would overflow the stack if it were followed.
    const std::string msg = "<input>, line 2: model ID 3 nests mixtures more than 8 deep; mixtures nest at most 8 deep";
    EXPECT_EQ(ModelError("0 OM_BINARY 0.5\n3 " + Nested(9) + "\n"), msg);
    EXPECT_EQ(ModelError("0 OM_BINARY 0.5\n3 OM_MIXTURE 5 2 0.5 OM_GAUSSIAN 0 1 0.5 " + Nested(8) + "\n"), msg);
    EXPECT_EQ(ModelError("0 OM_BINARY 0.5\n3 " + Nested(100000) + "\n"), msg);
    {
        std::istringstream in(Nested(100000));
        std::string bad;
        EXPECT_EQ(ReadDistribution(in, &bad), nullptr);
        EXPECT_EQ(bad, "");
        std::istringstream in2(Nested(9));
        EXPECT_TRUE(ReadDist(in2).tooDeep);
    }
    // An unknown word below the bound is still the unknown word.
    const std::string text = "OM_MIXTURE 5 1 1 OM_MIXTURE 5 1 1 OM_POISSON 2";
    std::istringstream in(text);
    const DistRead d = ReadDist(in);
    EXPECT_EQ(d.badWord, "OM_POISSON");
    EXPECT_FALSE(d.tooDeep);
}

// The quick path for ids takes exactly what formatted extraction takes, and
// leaves everything else to it: signs, long numbers, numbers beyond 32 bits,
// numbers glued to other text, a number that ends the file, and numbers cut
// by the end of a chunk.
TEST(ReaderBounds, QuickIdsReadAsFormattedExtractionReads)
{
    const std::string texts[] = {
        "1 2\n3 4\n",
        "+5 -3\n007 0\n",
        "123456789 987654321\n1234567890 2147483647\n",
        "1 2147483648\n",
        "1 99999999999\n",
        "12abc 3\n",
        "4 5\n1.5 2\n",
        "0x10 1\n",
        " \t\n\v\f\r1\r\n2\r\n3 4",
        "5 6\n7",
        "8 9",
        "- 1\n",
        "",
    };
    for (const std::string& t : texts)
        EXPECT_EQ(ReadInts(t, true), ReadInts(t, false)) << t;

    // Many records over several chunks, numbers of every length, so that
    // some are cut where a chunk ends.
    std::mt19937 rng(3);
    std::string big;
    for (int i = 0; i < 60000; ++i) {
        const int digits = int(rng() % 9) + 1; // all within 32 bits
        for (int k = 0; k < 2; ++k) {
            for (int d = 0; d < digits; ++d)
                big += char('0' + rng() % 10);
            big += k == 0 ? (rng() % 3 == 0 ? "\t" : " ") : (rng() % 5 == 0 ? "\n\n" : "\n");
        }
    }
    const IntRead quick = ReadInts(big, true);
    EXPECT_EQ(quick, ReadInts(big, false));
    EXPECT_GT(quick.recs.size(), 1000u);
}
