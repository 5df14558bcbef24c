#include "app/CountingBuf.h"

CountingBuf::int_type CountingBuf::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    if (traits_type::eq_int_type(to->sputc(ch), traits_type::eof()))
        return traits_type::eof();
    ++count;
    sum.Add(ch);
    return c;
}

std::streamsize CountingBuf::xsputn(const char* s, std::streamsize n)
{
    const std::streamsize put = to->sputn(s, n);
    if (put > 0) {
        sum.Add(s, std::size_t(put));
        count += std::uint64_t(put);
    }
    return put;
}

int CountingBuf::sync() { return to->pubsync(); }
