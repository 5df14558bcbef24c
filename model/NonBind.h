#pragma once

// One forced non-binding setting: the binding variables between motif mot1 of
// prot1 and motif mot2 (-1: every motif) of prot2 are fixed at 0 on the pair
// (prot1, prot2), in either orientation, and numNBLeak of the pair's leak
// variables with them. prot1 = -1 means that nothing is forced. A value, so
// that every perturbation cycle can carry its own.
struct NonBind {
    int prot1 = -1;
    int prot2 = -1;
    int mot1 = -1;
    int mot2 = -1;
    int numNBLeak = 0;

    int IsNonBind(int p1, int p2, int m1, int m2) const
    {
        if (prot1 == -1)
            return 0;
        if (p1 == prot1 && p2 == prot2 && m1 == mot1 && (mot2 == -1 || mot2 == m2))
            return 1;
        if (p2 == prot1 && p1 == prot2 && m2 == mot1 && (mot2 == -1 || mot2 == m1))
            return 1;
        return 0;
    }
    int WithNonBind(int p1, int p2) const
    {
        if (prot1 == -1)
            return 0;
        return (p1 == prot1 && p2 == prot2) || (p2 == prot1 && p1 == prot2);
    }
};
