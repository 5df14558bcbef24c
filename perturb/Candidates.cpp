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

// Reads the list's records of two ids until an extraction fails, handing
// each to `take`. Like every list, this one stops at the first record that
// is not two integers; `warn` says so on standard error (a list the binding
// predictions read first has been warned about already).
template <typename Take>
void ReadPairs(std::istream& list, bool warn, Take take)
{
    RecordReader r(list);
    while (r.Start()) {
        int a = 0, b = 0;
        if (!(r.Get(a) && r.Get(b))) {
            if (warn)
                r.WarnStop();
            return;
        }
        take(a, b);
    }
}

} // namespace

std::vector<Candidate> MotifProteinCandidates(const ProtMot& pm, const ProtInter& pi, std::istream& list, int pertSize)
{
    std::vector<Candidate> out;
    ReadPairs(list, false, [&](int a, int b) {
        if (!ObservedPair(pm, pi, a, b))
            return;
        // Each motif of the larger id against the smaller, then the other way
        // round, whatever the order in the file.
        const int hi = std::max(a, b), lo = std::min(a, b);
        const int order[2][2] = {{hi, lo}, {lo, hi}};
        for (const auto& [p1, p2] : order)
            for (const auto& [m1, len] : pm.GetMots(p1))
                if (Bounded(m1, pertSize))
                    out.push_back({p1, m1, p2, -1});
    });
    return out;
}

std::vector<Candidate> MotifTypeCandidates(const ProtMot& pm, const ProtInter&, std::istream& list, int pertSize)
{
    std::vector<Candidate> out;
    ReadPairs(list, true, [&](int a, int b) {
        if (!Bounded(a, pertSize) || !Bounded(b, pertSize))
            return;
        const int n = pm.GetNumMot();
        if (a < 0 || a >= n || b < 0 || b >= n) {
            // An id outside the motif range would alias another pair's index.
            std::cerr << "Warning: " << StreamName(list) << ": motif pair " << a << " " << b
                      << " has an id outside [0, " << n << "); it is not perturbed" << std::endl;
            return;
        }
        out.push_back({-1, a, -1, b});
    });
    return out;
}

std::vector<Candidate> MotifPairCandidates(const ProtMot& pm, const ProtInter& pi, std::istream& list, int pertSize)
{
    std::vector<Candidate> out;
    ReadPairs(list, false, [&](int a, int b) {
        if (!ObservedPair(pm, pi, a, b))
            return;
        // The proteins in file order, every motif of one with every motif of
        // the other.
        for (const auto& [m1, l1] : pm.GetMots(a))
            for (const auto& [m2, l2] : pm.GetMots(b))
                if (Bounded(m1, pertSize) && Bounded(m2, pertSize))
                    out.push_back({a, m1, b, m2});
    });
    return out;
}
