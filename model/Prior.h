#pragma once

// The Beta prior on every affinity and on the leak probability, used as extra
// counts in their MAP estimates: aPos counts of a one, aNeg of a zero, and
// aAll = aNeg + aPos in all.
struct Prior {
    double aPos = 0.0;
    double aNeg = 0.0;
    double aAll = 0.0;

    // The prior with `aPos` positive counts and `n2p` times as many negative
    // ones, as the command line gives them.
    static Prior FromRatio(double aPos, double n2p)
    {
        Prior p;
        p.aPos = aPos;
        p.aNeg = n2p * p.aPos;
        p.aAll = p.aNeg + p.aPos;
        return p;
    }
};
