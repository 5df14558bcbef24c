#include "io/BoundedBuf.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>

#include "io/RunError.h"

namespace {

// The white space of formatted extraction in the classic locale.
bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

} // namespace

std::string QuoteToken(const std::string& tok)
{
    std::string s;
    for (std::size_t i = 0; i < tok.size() && i < TOKENQUOTE; ++i) {
        const unsigned char c = static_cast<unsigned char>(tok[i]);
        if (c < 0x20 || c == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", unsigned(c));
            s += hex;
        } else {
            s += char(c);
        }
    }
    if (tok.size() > TOKENQUOTE)
        s += "...";
    return s;
}

// Room for one chunk after a held-back partial token, which is at most
// MAXTOKEN long (a longer one is refused), so every read takes a full chunk.
BoundedBuf::BoundedBuf(std::streambuf* s) : src(s), data(READCHUNK + MAXTOKEN)
{
    char* base = data.data();
    setg(base, base, base);
    counted = base;
}

void BoundedBuf::CountTo(const char* to)
{
    for (; counted < to; ++counted) {
        if (*counted == '\n')
            ++line;
        else if (!IsWhite(*counted))
            lastTokLine = line;
    }
}

int BoundedBuf::LineHere()
{
    CountTo(gptr());
    return line;
}

int BoundedBuf::LastTokenLine()
{
    CountTo(gptr());
    return lastTokLine;
}

void BoundedBuf::Rewind(const Pos& mark)
{
    if (mark.fill == fills && mark.at >= counted && mark.at <= gptr())
        setg(eback(), const_cast<char*>(mark.at), egptr());
}

bool BoundedBuf::SkipWhite()
{
    const char* p = gptr();
    const char* end = egptr();
    while (p < end && IsWhite(*p))
        ++p;
    setg(eback(), const_cast<char*>(p), egptr());
    return p < end;
}

bool BoundedBuf::TakeInt(int& x)
{
    if (!SkipWhite())
        return false;
    const char* p = gptr();
    const char* end = egptr();
    int v = 0, digits = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        if (++digits > 9)
            return false;
        v = v * 10 + (*p - '0');
    }
    // A get area ends after white space or at the end of the source, so a
    // number that reaches its end may go on, or end the input: not common.
    if (digits == 0 || p == end || !IsWhite(*p))
        return false;
    x = v;
    setg(eback(), const_cast<char*>(p), egptr());
    return true;
}

std::size_t BoundedBuf::ReadSource(char* to, std::size_t n)
{
    if (src) {
        try {
            const std::streamsize got = src->sgetn(to, std::streamsize(n));
            // A short read means the source has nothing more.
            if (got < std::streamsize(n))
                srcEnd = true;
            return got > 0 ? std::size_t(got) : 0;
        } catch (const std::exception&) {
            // libstdc++'s filebuf throws on a read error (a directory, EIO).
        }
    }
    srcEnd = true;
    stop = Stop::READERROR;
    stopLine = line;
    return 0;
}

BoundedBuf::int_type BoundedBuf::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    if (stop != Stop::NONE || (srcEnd && held == 0))
        return traits_type::eof();

    // Everything handed out has been read: count its lines, then move the
    // held-back start of a token to the front and read on behind it.
    CountTo(egptr());
    char* base = data.data();
    std::memmove(base, egptr(), held);
    std::size_t have = held;
    held = 0;
    counted = base;
    ++fills;
    setg(base, base, base);
    for (;;) {
        if (!srcEnd)
            have += ReadSource(base + have, data.size() - have);
        if (stop == Stop::READERROR)
            return traits_type::eof();

        // Hand out up to the last white character; the partial token after
        // it waits for the next read, unless the source has ended.
        std::size_t cut = 0, run = 0;
        for (std::size_t i = 0; i < have; ++i) {
            if (IsWhite(base[i])) {
                run = 0;
                cut = i + 1;
            } else if (++run > MAXTOKEN) {
                const std::size_t start = i + 1 - run;
                stop = Stop::LONGTOKEN;
                stopToken.assign(base + start, base + i + 1);
                stopLine = line + int(std::count(base, base + start, '\n'));
                setg(base, base, base + start);
                return start > 0 ? traits_type::to_int_type(*base) : traits_type::eof();
            }
        }
        if (srcEnd)
            cut = have;
        if (cut > 0) {
            held = have - cut;
            setg(base, base, base + cut);
            return traits_type::to_int_type(*base);
        }
        if (srcEnd)
            return traits_type::eof();
        // One partial token of at most MAXTOKEN characters is all there is,
        // so the buffer has room for more.
    }
}

void BoundedBuf::ThrowIfStopped(const std::string& name) const
{
    switch (stop) {
    case Stop::NONE:
        return;
    case Stop::LONGTOKEN:
        throw InputErr(name + ", line " + std::to_string(stopLine) + ": token '" + QuoteToken(stopToken) +
                       "' is longer than " + std::to_string(MAXTOKEN) +
                       " characters; expected numbers and type words separated by white space");
    case Stop::READERROR:
        throw InputErr(name + ", line " + std::to_string(stopLine) +
                       ": the file could not be read; expected a readable text file");
    }
}
