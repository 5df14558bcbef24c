#include "model/ProtMot.h"

#include <cmath>
#include <limits>
#include <ostream>

ProtMot::ProtMot(int np, int nm)
    : numProt(np), numMot(nm), protMots(np > 0 ? np : 0), protLen(np > 0 ? np : 0, -1), motCover(np > 0 ? np : 0, -1)
{
}

namespace {

// la * lb - ca * cb for lengths and coverages as a file gives them. Real
// values are far below 2^30 and take the exact 64-bit products; absurd ones
// (a length of -2^31, say) would overflow them, so they take doubles, whose
// result only decides a count that is capped anyway.
std::int64_t Uncovered(std::int64_t la, std::int64_t lb, std::int64_t ca, std::int64_t cb)
{
    constexpr std::int64_t SAFE = std::int64_t(1) << 30;
    auto small = [](std::int64_t v) { return v > -SAFE && v < SAFE; };
    if (small(la) && small(lb) && small(ca) && small(cb))
        return la * lb - ca * cb;
    const double d = double(la) * double(lb) - double(ca) * double(cb);
    if (d >= 9.0e18)
        return std::numeric_limits<std::int64_t>::max();
    if (d <= -9.0e18)
        return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(d);
}

} // namespace

std::int64_t ProtMot::NonMotifPairs(int p, int q) const
{
    const std::int64_t n = Uncovered(LenOf(p), LenOf(q), CoverOf(p), CoverOf(q));
    return n < 0 ? 0 : n;
}

int ProtMot::RootCount(std::int64_t n) const
{
    if (n < 0 || leakGroup <= 0)
        return 0;
    const double root = std::sqrt(10.0 * double(n) / leakGroup);
    // Absurd lengths must not overflow the count.
    return root < 2.0e9 ? int(root) : 2000000000;
}

int ProtMot::LeakForPairs(std::int64_t n) const
{
    switch (leakType) {
    case 0:
        return 1;
    case 1:
        return RootCount(n) + 1;
    default:
        return 0;
    }
}

NonBind ProtMot::MakeNonBind(int prot1, int prot2, int mot1, int mot2) const
{
    NonBind nb{prot1, prot2, mot1, mot2, 0};
    // An id outside the tables carries no motif and forces no leak variable.
    if (leakType == 1 && mot2 == -1 && prot1 >= 0 && prot1 < numProt) {
        // The leak variables that stand for pairs between the residues of the
        // forced motif and the uncovered residues of the partner are forced too.
        const auto it = protMots[prot1].find(mot1);
        const std::int64_t ml = it == protMots[prot1].end() ? 0 : it->second;
        const std::int64_t l1 = LenOf(prot1), l2 = LenOf(prot2);
        const std::int64_t c1 = CoverOf(prot1), c2 = CoverOf(prot2);
        const int a = RootCount(Uncovered(l2, l1, c2, c1));
        const int b = RootCount(Uncovered(l2, l1 - ml, c2, c1 - ml));
        nb.numNBLeak = a - b;
    }
    return nb;
}

void ProtMot::Print(std::ostream& outFile) const
{
    outFile << "***s Motifs:" << '\n';
    long total = 0;
    for (int i = 0; i < numProt; ++i) {
        outFile << "Protein " << i << ":";
        for (const auto& [mot, len] : protMots[i])
            outFile << "\t" << mot << "," << len;
        outFile << '\n';
        total += long(protMots[i].size());
    }
    outFile << "***e Motifs." << '\n';
    outFile << "*** Total # motifs:\t" << total << '\n';
    outFile << "***s Protein lengths and motif coverage:" << '\n';
    for (int i = 0; i < numProt; ++i)
        outFile << i << "\t" << protLen[i] << "\t" << motCover[i] << '\n';
    outFile << "***e Protein lengths and motif coverage." << '\n';
    outFile << "*** Forced nonbinding (prot1, prot2, mot1, mot2):\t" << nonBind.prot1 << "\t" << nonBind.prot2 << "\t"
            << nonBind.mot1 << "\t" << nonBind.mot2 << '\n';
    outFile << "*** (numnbleak, leakGroup size):\t" << nonBind.numNBLeak << "\t" << leakGroup << '\n';
}
