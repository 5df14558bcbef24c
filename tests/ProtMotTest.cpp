#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <tuple>
#include <string>

#include "model/ProtMot.h"

namespace {

std::string PrintOf(const ProtMot& pm)
{
    std::ostringstream out;
    out.precision(15);
    pm.Print(out);
    return out.str();
}

} // namespace

// The dump of a freshly filled object: motifs in ascending id whatever the
// order of adding, a repeated (protein, motif) keeping its last length, unset
// lengths as -1, and the forced setting not yet used.
TEST(ProtMot, PrintBeforeAnyForcedSetting)
{
    ProtMot pm(3, 10);
    pm.SetLeakType(1);
    pm.SetLeakGroup(1000);
    pm.AddMot(0, 7, 5);
    pm.AddMot(0, 3, 12);
    pm.AddMot(2, 1, 4);
    pm.AddMot(2, 1, 9);
    pm.AddProtLen(0, 100);
    pm.AddMotCover(0, 17);
    pm.AddProtLen(2, 40);
    pm.AddMotCover(2, 9);
    EXPECT_EQ(pm.GetMots(2).at(1), 9);
    EXPECT_EQ(pm.GetProtLen(1), -1);
    EXPECT_EQ(pm.GetMotCover(1), -1);
    EXPECT_EQ(PrintOf(pm),
              "***s Motifs:\n"
              "Protein 0:\t3,12\t7,5\n"
              "Protein 1:\n"
              "Protein 2:\t1,9\n"
              "***e Motifs.\n"
              "*** Total # motifs:\t3\n"
              "***s Protein lengths and motif coverage:\n"
              "0\t100\t17\n"
              "1\t-1\t-1\n"
              "2\t40\t9\n"
              "***e Protein lengths and motif coverage.\n"
              "*** Forced nonbinding (prot1, prot2, mot1, mot2):\t-1\t-1\t-1\t-1\n"
              "*** (numnbleak, leakGroup size):\t0\t1000\n");
}

TEST(ProtMot, LeakCountsByType)
{
    // Proteins: 0 and 1 of length 3 without motifs (N = 9), 2 of length 5 and
    // 3 of length 2 (N = 10), 4 never set, 5 with lengths 7/4, 6 with 3/1 and
    // 7 covered beyond its length.
    ProtMot pm(8, 1);
    const int len[] = {3, 3, 5, 2, -1, 7, 3, 5};
    const int cov[] = {0, 0, 0, 0, -1, 4, 1, 10};
    for (int p = 0; p < 8; ++p) {
        if (len[p] >= 0) {
            pm.AddProtLen(p, len[p]);
            pm.AddMotCover(p, cov[p]);
        }
    }
    pm.SetLeakType(1);
    pm.SetLeakGroup(10);
    EXPECT_EQ(pm.NumLeak(0, 1), 4); // sqrt(10 * 9 / 10) = 3, plus one
    pm.SetLeakGroup(1000);
    EXPECT_EQ(pm.NumLeak(2, 3), 1); // sqrt(10 * 10 / 1000) = 0.316 -> 0, plus one
    EXPECT_EQ(pm.NumLeak(4, 4), 1); // (-1)(-1) - (-1)(-1) = 0 pairs
    EXPECT_EQ(pm.NumLeak(7, 7), 1); // 25 - 100 < 0 counts as no pair
    // N = 7*3 - 4*1 = 17; sqrt(170 / 3) = 7.53 -> 8 leak variables.
    pm.SetLeakGroup(3);
    EXPECT_EQ(pm.NumLeak(5, 6), 8);
    for (int p = 0; p < 8; ++p)
        for (int q = 0; q < 8; ++q)
            EXPECT_EQ(pm.NumLeak(p, q), pm.NumLeak(q, p)) << p << "," << q;

    pm.SetLeakType(0);
    EXPECT_EQ(pm.NumLeak(5, 6), 1);
    pm.SetLeakType(2);
    EXPECT_EQ(pm.NumLeak(5, 6), 0);
    pm.SetLeakType(7);
    EXPECT_EQ(pm.NumLeak(5, 6), 0);
}

// Long proteins: 50000 * 60000 = 3e9 does not fit in 32 bits.
TEST(ProtMot, LongProteinsCountInSixtyFourBits)
{
    ProtMot pm(2, 5);
    pm.SetLeakType(1);
    pm.SetLeakGroup(1000);
    pm.AddProtLen(0, 50000);
    pm.AddMotCover(0, 10000);
    pm.AddMot(0, 4, 5000);
    pm.AddProtLen(1, 60000);
    pm.AddMotCover(1, 20000);
    // N = 3e9 - 2e8 = 2.8e9; sqrt(10 * 2.8e9 / 1000) = sqrt(2.8e7) = 5291.5
    // (5291^2 = 27994681, 5292^2 = 28005264).
    EXPECT_EQ(pm.NumLeak(0, 1), 5292);
    EXPECT_EQ(pm.NonMotifPairs(0, 1), 2800000000LL);
    // Forcing motif 4 (5000 residues) against all of protein 1:
    // B's count = 60000*45000 - 20000*5000 = 2.6e9, sqrt(2.6e7) = 5099.02
    // (5099^2 = 25999801, 5100^2 = 26010000), so 5291 - 5099 = 192.
    pm.SetNonBind(0, 1, 4, -1);
    EXPECT_EQ(pm.NumNBLeak(0, 1), 192);
    EXPECT_EQ(pm.NumActLeak(1, 0), 5292 - 192);
}

TEST(ProtMot, ForcedMotifAgainstWholePartner)
{
    ProtMot pm(3, 10);
    pm.SetLeakType(1);
    pm.SetLeakGroup(10);
    pm.AddProtLen(0, 100);
    pm.AddMotCover(0, 30);
    pm.AddMot(0, 4, 20);
    pm.AddMot(0, 5, 10);
    pm.AddProtLen(1, 80);
    pm.AddMotCover(1, 10);
    pm.AddMot(1, 2, 10);
    pm.AddMot(1, 4, 10);
    pm.AddProtLen(2, 50);
    pm.AddMotCover(2, 0);

    pm.SetNonBind(0, 1, 4, -1);
    // A: 80*100 - 10*30 = 7700, sqrt(10 * 7700 / 10) = 87.7 -> 87.
    // B: 80*(100-20) - 10*(30-20) = 6300, sqrt(6300) = 79.4 -> 79.
    EXPECT_EQ(pm.NumLeak(0, 1), 88);
    EXPECT_EQ(pm.NumNBLeak(0, 1), 8);
    EXPECT_EQ(pm.NumNBLeak(1, 0), 8);
    EXPECT_EQ(pm.NumActLeak(0, 1), 80);
    EXPECT_EQ(pm.NumNBLeak(0, 2), 0);
    EXPECT_EQ(pm.WithNonBind(1, 0), 1);
    EXPECT_EQ(pm.WithNonBind(0, 2), 0);
    for (int m2 = 0; m2 < 10; ++m2) {
        EXPECT_EQ(pm.IsNonBind(0, 1, 4, m2), 1);
        EXPECT_EQ(pm.IsNonBind(1, 0, m2, 4), 1);
        EXPECT_EQ(pm.IsNonBind(0, 1, 5, m2), 0);
        EXPECT_EQ(pm.IsNonBind(1, 0, m2, 5), 0);
        EXPECT_EQ(pm.IsNonBind(0, 2, 4, m2), 0);
    }
    // Motif 4 on protein 1 is not the forced one (the setting is oriented).
    EXPECT_EQ(pm.IsNonBind(1, 0, 4, 2), 0);
    for (int p1 = 0; p1 < 3; ++p1)
        for (int p2 = 0; p2 < 3; ++p2)
            for (int m1 = -1; m1 < 7; ++m1)
                for (int m2 = -1; m2 < 7; ++m2)
                    EXPECT_EQ(pm.IsNonBind(p1, p2, m1, m2), pm.IsNonBind(p2, p1, m2, m1));

    // Unsetting leaves the other fields as they were, for the dump.
    pm.UnsetNonBind();
    EXPECT_EQ(pm.IsNonBind(0, 1, 4, 2), 0);
    EXPECT_EQ(pm.WithNonBind(0, 1), 0);
    EXPECT_EQ(pm.NumNBLeak(0, 1), 0);
    EXPECT_EQ(pm.NumActLeak(0, 1), 88);
    EXPECT_EQ(PrintOf(pm),
              "***s Motifs:\n"
              "Protein 0:\t4,20\t5,10\n"
              "Protein 1:\t2,10\t4,10\n"
              "Protein 2:\n"
              "***e Motifs.\n"
              "*** Total # motifs:\t4\n"
              "***s Protein lengths and motif coverage:\n"
              "0\t100\t30\n"
              "1\t80\t10\n"
              "2\t50\t0\n"
              "***e Protein lengths and motif coverage.\n"
              "*** Forced nonbinding (prot1, prot2, mot1, mot2):\t-1\t1\t4\t-1\n"
              "*** (numnbleak, leakGroup size):\t8\t10\n");

    // One motif pair forced: no leak variable is, and only that pair binds no more.
    pm.SetNonBind(1, 0, 2, 5);
    EXPECT_EQ(pm.NumNBLeak(0, 1), 0);
    EXPECT_EQ(pm.IsNonBind(1, 0, 2, 5), 1);
    EXPECT_EQ(pm.IsNonBind(0, 1, 5, 2), 1);
    EXPECT_EQ(pm.IsNonBind(1, 0, 2, 4), 0);
    EXPECT_EQ(pm.IsNonBind(0, 1, 2, 5), 0);

    // Under leak types 0 and 2 no leak variable is ever forced.
    for (int type : {0, 2}) {
        pm.SetLeakType(type);
        pm.SetNonBind(0, 1, 4, -1);
        EXPECT_EQ(pm.NumNBLeak(0, 1), 0);
        EXPECT_EQ(pm.NumActLeak(0, 1), type == 0 ? 1 : 0);
        EXPECT_NE(PrintOf(pm).find("*** (numnbleak, leakGroup size):\t0\t10\n"), std::string::npos);
    }
}

TEST(ProtMot, AbsurdLengthsNeitherOverflowNorCountNegatively)
{
    // Lengths and coverages as extreme as a file can hold: the uncovered
    // amino-acid pairs of a pair and of a forced motif would overflow 64-bit
    // products (the sanitizer build traps that); the counts stay defined.
    const int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    for (const auto& [len, cover, mlen] :
         {std::tuple{hi, lo, lo}, std::tuple{lo, hi, hi}, std::tuple{hi, hi, lo}, std::tuple{lo, lo, hi}}) {
        ProtMot pm(2, 2);
        pm.SetLeakType(1);
        pm.SetLeakGroup(1);
        for (int p = 0; p < 2; ++p) {
            pm.AddProtLen(p, len);
            pm.AddMotCover(p, cover);
            pm.AddMot(p, p, mlen);
        }
        EXPECT_GE(pm.NonMotifPairs(0, 1), 0);
        EXPECT_GT(pm.NumLeak(0, 1), 0);
        const NonBind nb = pm.MakeNonBind(1, 0, 1, -1);
        EXPECT_GE(pm.NumLeak(1, 0) - nb.numNBLeak, -2000000000);
    }
}
