#include "app/NumberWord.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// Bytes of a word shown in a message.
constexpr std::size_t SHOWN = 40;

bool Digit(char c) { return c >= '0' && c <= '9'; }

// Moves `i` past a run of digits; returns how many there were.
std::size_t Digits(const std::string& w, std::size_t& i)
{
    const std::size_t from = i;
    while (i < w.size() && Digit(w[i]))
        ++i;
    return i - from;
}

void Sign(const std::string& w, std::size_t& i)
{
    if (i < w.size() && (w[i] == '+' || w[i] == '-'))
        ++i;
}

} // namespace

std::optional<std::int64_t> WholeWord(const std::string& w)
{
    std::size_t i = 0;
    Sign(w, i);
    const std::size_t from = i;
    if (Digits(w, i) == 0 || i != w.size())
        return std::nullopt;
    // from_chars takes a minus but no plus.
    const char* const first = w.data() + (w[0] == '+' ? from : 0);
    std::int64_t x = 0;
    const auto [end, ec] = std::from_chars(first, w.data() + w.size(), x);
    if (ec != std::errc() || end != w.data() + w.size())
        return std::nullopt;
    return x;
}

std::optional<double> RealWord(const std::string& w)
{
    std::size_t i = 0;
    Sign(w, i);
    std::size_t mantissa = Digits(w, i);
    if (i < w.size() && w[i] == '.') {
        ++i;
        mantissa += Digits(w, i);
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < w.size() && (w[i] == 'e' || w[i] == 'E')) {
        ++i;
        Sign(w, i);
        if (Digits(w, i) == 0)
            return std::nullopt;
    }
    if (i != w.size())
        return std::nullopt;
    // The conversion atof makes, so that every word accepted before keeps
    // its value to the last bit.
    const double x = std::strtod(w.c_str(), nullptr);
    if (!std::isfinite(x))
        return std::nullopt;
    return x;
}

std::string Shown(const std::string& w)
{
    std::size_t n = w.size();
    if (n > SHOWN) {
        n = SHOWN;
        // Do not split a UTF-8 character: back up over continuation bytes.
        while (n > 0 && (static_cast<unsigned char>(w[n]) & 0xC0) == 0x80)
            --n;
    }
    const char* const HEX = "0123456789abcdef";
    std::string s = "\"";
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(w[i]);
        if (c < 0x20 || c == 0x7F) {
            s += "\\x";
            s += HEX[c >> 4];
            s += HEX[c & 15];
        } else {
            s += char(c);
        }
    }
    s += '"';
    if (n < w.size())
        s += "...";
    return s;
}
