#include "app/ProgressGuardBuf.h"

#include <sys/stat.h>
#include <unistd.h>

ProgressGuardBuf::int_type ProgressGuardBuf::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
}

std::streamsize ProgressGuardBuf::xsputn(const char* s, std::streamsize n)
{
    if (n <= 0)
        return 0;
    line.Suspend();
    const std::streamsize put = to->sputn(s, n);
    // The finished line must reach the terminal before the progress line
    // is drawn below it.
    if (put == n && s[n - 1] == '\n' && to->pubsync() == 0)
        line.Resume();
    return put;
}

int ProgressGuardBuf::sync() { return to->pubsync(); }

bool OutputSharesTerminal()
{
    struct stat out {
    }, err{};
    return isatty(STDOUT_FILENO) == 1 && isatty(STDERR_FILENO) == 1 && fstat(STDOUT_FILENO, &out) == 0 &&
           fstat(STDERR_FILENO, &err) == 0 && out.st_rdev == err.st_rdev;
}
