#include "predict/OutText.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// 10^k for 0 <= k <= MAXPOW, each exact in a double.
constexpr int MAXPOW = 22;
constexpr double POW10[MAXPOW + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The exact conversion, for the values the quick one leaves to it.
char* Exact(char* out, double v) { return std::to_chars(out, out + 32, v, std::chars_format::general, 6).ptr; }

// Six decimal digits of n (100000 <= n <= 999999), whose first has the
// decimal exponent x, in the layout of "%g": fixed for -4 <= x < 6, else
// d.ddddde+xx; trailing zeros of the fraction and a bare point dropped.
char* Layout(char* out, std::uint32_t n, int x)
{
    char d[6];
    for (int i = 5; i >= 0; --i) {
        d[i] = char('0' + n % 10);
        n /= 10;
    }
    int last = 5; // the last digit kept
    while (last > 0 && d[last] == '0')
        --last;
    if (x < -4 || x >= 6) {
        *out++ = d[0];
        if (last > 0) {
            *out++ = '.';
            for (int i = 1; i <= last; ++i)
                *out++ = d[i];
        }
        *out++ = 'e';
        *out++ = x < 0 ? '-' : '+';
        const int e = x < 0 ? -x : x;
        if (e >= 100)
            *out++ = char('0' + e / 100);
        *out++ = char('0' + e / 10 % 10);
        *out++ = char('0' + e % 10);
        return out;
    }
    if (x < 0) {
        *out++ = '0';
        *out++ = '.';
        for (int i = -1; i > x; --i)
            *out++ = '0';
        for (int i = 0; i <= last; ++i)
            *out++ = d[i];
        return out;
    }
    for (int i = 0; i <= x; ++i)
        *out++ = d[i];
    if (last > x) {
        *out++ = '.';
        for (int i = x + 1; i <= last; ++i)
            *out++ = d[i];
    }
    return out;
}

} // namespace

char* FormatDouble(char* out, double v)
{
    // Zeros, subnormals, infinities and NaN are rare: the exact conversion.
    if (!std::isnormal(v))
        return Exact(out, v);
    const double a = std::fabs(v);
    // The decimal exponent x of the first digit puts y = a * 10^(5 - x) in
    // [1e5, 1e6). From the binary exponent e, floor(e * log10 2) is x or
    // one less.
    const int e2 = int(std::bit_cast<std::uint64_t>(a) >> 52) - 1023;
    int x = (e2 * 78913) >> 18;
    double y = 0.0;
    for (int tries = 0;; ++tries) {
        const int k = 5 - x;
        if (k > MAXPOW || k < -MAXPOW || tries > 2)
            return Exact(out, v);
        y = k >= 0 ? a * POW10[k] : a / POW10[-k];
        if (y >= 1e6)
            ++x;
        else if (y < 1e5)
            --x;
        else
            break;
    }
    // y is the exact product rounded once, off by half a unit in the last
    // place at most: 2^-34 below 2^20. Rounding y to an integer is then the
    // exact rounding of the product, unless the product may lie on the
    // other side of a half: that is left to the exact conversion, which also
    // settles ties to even as printf does. Near 1e5 or 1e6 the choice of x
    // may be off, but both choices give the same digits.
    const double whole = std::floor(y);
    const double frac = y - whole;
    if (std::fabs(frac - 0.5) <= 1.2e-10)
        return Exact(out, v);
    std::uint32_t n = std::uint32_t(whole) + (frac > 0.5 ? 1 : 0);
    if (n == 1000000) {
        n = 100000;
        ++x;
    }
    if (v < 0)
        *out++ = '-';
    return Layout(out, n, x);
}

OutText::OutText(std::ostream& t) : to(t), buf(CHUNK) { at = buf.data(); }

OutText::~OutText()
{
    // What is left goes out with the last Flush; a destructor that runs
    // while an exception unwinds must not throw again.
}

void OutText::Pass()
{
    const char* begin = buf.data();
    to.write(begin, at - begin);
    at = buf.data();
}

void OutText::Flush()
{
    Pass();
    to.flush();
}

OutText& OutText::operator<<(std::string_view s)
{
    if (s.size() >= ITEM) {
        Pass();
        to.write(s.data(), std::streamsize(s.size()));
        return *this;
    }
    char* p = Room();
    std::memcpy(p, s.data(), s.size());
    at = p + s.size();
    return *this;
}

OutText& OutText::operator<<(char c)
{
    char* p = Room();
    *p = c;
    at = p + 1;
    return *this;
}

OutText& OutText::operator<<(int v)
{
    char* p = Room();
    at = std::to_chars(p, p + ITEM, v).ptr;
    return *this;
}

OutText& OutText::operator<<(double v)
{
    at = FormatDouble(Room(), v);
    return *this;
}
