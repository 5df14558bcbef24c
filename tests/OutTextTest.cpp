#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ios>
#include <limits>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>

#include "predict/OutText.h"

// The prediction file's text built in memory must be the text the stream
// itself writes, number by number, and a stream that cannot take it must
// still fail the run.
namespace {

std::string Stream(double v)
{
    std::ostringstream out;
    out << v;
    return out.str();
}

std::string Quick(double v)
{
    char buf[64];
    char* end = FormatDouble(buf, v);
    return std::string(buf, end);
}

// A stream buffer that takes `room` characters and then fails, and counts
// the writes it was handed.
class FailingBuf : public std::streambuf {
public:
    explicit FailingBuf(std::size_t room) : room(room) {}
    std::string text;
    int writes = 0;

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        ++writes;
        const std::size_t take = std::min(room - text.size(), std::size_t(n));
        text.append(s, take);
        return std::streamsize(take);
    }
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
    }

private:
    std::size_t room;
};

} // namespace

TEST(OutText, NumbersAsTheStreamWritesThem)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Both layouts and the switch between them, trailing zeros, the ends of
    // the range, halves (printf rounds them to even) and values just off
    // them, and what is not a plain number.
    for (const double v :
         {0.0,          -0.0,    1.0,      -1.0,     0.5,      0.2,  0.448133,  6.75e-11,  9e-06, 1e-4,  9.9999949e-5,
          9.9999951e-5, 0.0001,  123456.0, 999999.4, 999999.5, 1e6,  1234567.0, 0.1 + 0.2, 2.5,   0.125, 1.0000005,
          1.0000015,    0.16875, 1e-300,   5e-324,   1e300,    1e22, 1e23,      inf,       -inf,  nan,   -nan})
        EXPECT_EQ(Quick(v), Stream(v)) << v;
    // Many more, drawn: probabilities, tiny ones, any bit pattern, and
    // decimals whose seventh digit is a 5, with their neighbours.
    std::mt19937_64 rng(20);
    std::uniform_real_distribution<double> u(0, 1);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t bits = rng();
        double any = 0.0;
        std::memcpy(&any, &bits, sizeof any);
        const double half = (1000000 + double(rng() % 9000000)) * 10 + 5;
        const double near = half * std::pow(10.0, int(rng() % 40) - 30);
        for (const double v : {u(rng), std::pow(u(rng), 40), any, near, std::nextafter(near, 0.0),
                               std::nextafter(near, inf), -u(rng) * 1e7})
            ASSERT_EQ(Quick(v), Stream(v)) << v;
    }
}

TEST(OutText, TextAsTheStreamWritesItInLargeChunks)
{
    std::ostringstream direct;
    FailingBuf sink(std::size_t(-1));
    std::ostream to(&sink);
    {
        OutText out(to);
        const std::string longText(200, 'x');
        for (int i = -5; i < 40000; ++i) {
            out << i << '\t' << i * 1e-7 << ',' << "H" << '\n';
            direct << i << '\t' << i * 1e-7 << ',' << "H" << '\n';
        }
        out << longText << '\n';
        direct << longText << '\n';
        out.Flush();
    }
    EXPECT_EQ(sink.text, direct.str());
    // About 600 kB in a few dozen writes, not one per line.
    EXPECT_LT(sink.writes, 40);
}

TEST(OutText, AFailedWriteShowsAtTheLatestOnFlush)
{
    // Room for part of the text: the stream fails when a chunk does not fit,
    // or when what is held is flushed, and throws with its exceptions set.
    for (const std::size_t room : {std::size_t(0), std::size_t(100), std::size_t(100000)}) {
        FailingBuf sink(room);
        std::ostream to(&sink);
        to.exceptions(std::ios::badbit | std::ios::failbit);
        OutText out(to);
        EXPECT_THROW(
            {
                for (int i = 0; i < 40000; ++i) // about 400 kB
                    out << i << '\t' << 0.25 << '\n';
                out.Flush();
            },
            std::ios_base::failure)
            << room;
    }
    // Nothing is lost before the failure is seen.
    FailingBuf roomy(std::size_t(-1));
    std::ostream to(&roomy);
    OutText out(to);
    out << 1 << '\n';
    EXPECT_EQ(roomy.text, "");
    out.Flush();
    EXPECT_EQ(roomy.text, "1\n");
}
