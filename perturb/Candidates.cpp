#include "perturb/Candidates.h"

#include <algorithm>
#include <iostream>

#include "io/FileOpen.h"
#include "io/RecordReader.h"

namespace {

bool Bounded(int mot, int pertSize) { return pertSize == -1 || mot < pertSize; }

bool ObservedPair(const ProtMot& pm, const ProtInter& pi, int a, int b)
{
    const int n = pm.GetNumProt();
    if (a < 0 || a >= n || b < 0 || b >= n)
        return false;
    return pi.IsInter(a, b);
}

} // namespace

std::vector<Candidate> ReadCandidates(int perType, const ProtMot& pm, const ProtInter& pi,
                                      std::istream& predbindFile, int pertSize)
{
    std::vector<Candidate> out;
    RecordReader list(predbindFile);
    while (list.Start()) {
        int a = 0, b = 0;
        if (!(list.Get(a) && list.Get(b))) {
            // Like every list, this one stops at the first record that is
            // not two integers. With -p 1 and 3 the binding predictions read
            // it first and have said so already.
            if (perType == 2)
                list.WarnStop();
            break;
        }
        if (perType == 2) {
            if (!Bounded(a, pertSize) || !Bounded(b, pertSize))
                continue;
            const int n = pm.GetNumMot();
            if (a < 0 || a >= n || b < 0 || b >= n) {
                // An id outside the motif range would alias another pair's index.
                std::cerr << "Warning: " << StreamName(predbindFile) << ": motif pair " << a << " " << b
                          << " has an id outside [0, " << n << "); it is not perturbed" << std::endl;
                continue;
            }
            out.push_back({-1, a, -1, b});
            continue;
        }
        if (!ObservedPair(pm, pi, a, b))
            continue;
        if (perType == 3) {
            // The proteins in file order, every motif of one with every motif
            // of the other.
            for (const auto& [m1, l1] : pm.GetMots(a))
                for (const auto& [m2, l2] : pm.GetMots(b))
                    if (Bounded(m1, pertSize) && Bounded(m2, pertSize))
                        out.push_back({a, m1, b, m2});
            continue;
        }
        // Each motif of the larger id against the smaller, then the other way
        // round, whatever the order in the file.
        const int hi = std::max(a, b), lo = std::min(a, b);
        const int order[2][2] = {{hi, lo}, {lo, hi}};
        for (const auto& [p1, p2] : order)
            for (const auto& [m1, len] : pm.GetMots(p1))
                if (Bounded(m1, pertSize))
                    out.push_back({p1, m1, p2, -1});
    }
    return out;
}
