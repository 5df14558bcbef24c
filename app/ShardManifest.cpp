#include "app/ShardManifest.h"

#include <string>

#include "motifbind/Version.h"

namespace {

std::string Hex(std::uint64_t x)
{
    const char* const DIGITS = "0123456789abcdef";
    std::string s(16, '0');
    for (int i = 15; i >= 0; --i, x >>= 4)
        s[std::size_t(i)] = DIGITS[x & 15];
    return s;
}

} // namespace

void WriteManifest(std::ostream& out, const ShardManifest& m)
{
    out << "motifbind shard\n"
        << "version " << MOTIFBIND_VERSION << '\n'
        << "block " << m.shard.index << ' ' << m.shard.count << '\n'
        << "cycles " << m.cycles.first << ' ' << m.cycles.end << ' ' << m.total << '\n'
        << "log_perturbation " << m.logStart << ' ' << m.logEnd << ' ' << Hex(m.logSum) << '\n'
        << "stdout_perturbation " << m.outStart << ' ' << m.outEnd << ' ' << Hex(m.outSum) << '\n'
        << std::flush;
}
