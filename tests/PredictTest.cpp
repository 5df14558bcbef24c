#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <regex>
#include <sstream>
#include <string>

#include "dist/SimpleDists.h"
#include "infer/InferPlan.h"
#include "infer/Likelihood.h"
#include "infer/ParamSet.h"
#include "io/FileOpen.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"
#include "support/HandModel.h"
#include "predict/Predict.h"
#include "support/TestUtil.h"

namespace {

// Four proteins, no leak variables. Motifs: protein 0 {0}, protein 1 {1},
// protein 2 {0, 2}, protein 3 none. Affinities (learned, conditioned):
// (0,0) 0.1, 0.1; (1,0) 0.5, 0.5; (2,0) 0.99999, 0.5; (2,2) 0.25, 0.25.
// Observed: (1,0) a value 1 with P1 = 0.8, P0 = 0.2; the self pair (2,2) a
// value 0 with P1 = 0.2, P0 = 0.8.
struct Model : testutil::HandModel {
    Model() : HandModel(4, 3)
    {
        Leak(2).Motif(0, 0, 5).Motif(1, 1, 5).Motif(2, 0, 5).Motif(2, 2, 5);
        Active(0, 0, 0.1).Active(1, 0, 0.5).Active(2, 0, 0.99999).Active(2, 2, 0.25).LeakProb(0.3);
        Condition().Conditioned(2, 0, 0.5);
        Binary(0.2).Binary(0.8).Observed(0, 1, 1.0, 1, 0).Observed(2, 2, 0.0, 1, 0);
    }
};

// Runs both predictions on the given lists, returning the prediction text
// and standard error.
std::pair<std::string, std::string> Predict(Model& m, const std::string& pairs, const std::string& binds)
{
    testutil::TempDir d;
    InFile pairFile, bindFile;
    InFopen(pairFile, d.Write("pairs", pairs));
    InFopen(bindFile, d.Write("binds", binds));
    // The trained model as the run hands it over: a plan and its parameters.
    const ProtInter noDdi(4);
    const InferPlan plan(m.pm, m.pi, m.micp, noDdi);
    const ParamSet ps(plan, m.mip, m.micp, ObsModel(m.om), ObsModel());
    std::ostringstream out, err;
    auto* old = std::cerr.rdbuf(err.rdbuf());
    PredictProtInter(pairFile, out, m.pm, ps);
    PredictBinding(bindFile, out, m.pm, ps);
    std::cerr.rdbuf(old);
    return {out.str(), err.str()};
}

const std::string kPairHead =
    "***s Predicted non-interaction probability for protein pairs:\t(1st, 2nd, prob w/o "
    "evidence, prob w/ evidence/H)\n";
const std::string kPairTail = "***e Predicted non-interaction probability for protein pairs.\n";
const std::string kBindHead =
    "***s Binding variable:\t(1st prot, 2nd prot, 1st mot, 2nd mot, mot affinity, P(B=1) w/ evidence/H)\n";
const std::string kBindTail = "***e Binding variable.\n";

} // namespace

TEST(Predict, WholeFile)
{
    Model m;
    // The last line has no line end; its lone integer ends the list with a
    // warning, as a record cut short does in every input.
    const auto [text, err] = Predict(m, "0 1\n2 2\n0 2\n1 3\n2", "0 1\n2 2\n0 2\n3 1");

    // (1,0): Qc = 0.5, posterior 0.5 * 0.2 / (0.5 * 0.8 + 0.5 * 0.2) = 0.2;
    //   its binding variable: 0.5 * r with r = 0.8 / 0.5 = 1.6, so 0.8.
    // (2,2): Qc = 0.9 * 0.5 * 0.5 * 0.75 = 0.16875 ((2,0) enters twice);
    //   Qw = 0.9 * (1e-5)^2 * 0.75 = 6.75e-11; posterior
    //   0.16875 * 0.8 / (0.83125 * 0.2 + 0.16875 * 0.8) = 0.135 / 0.30125
    //   = 0.448133; r = 0.2 / 0.30125 = 0.6639004, times 0.1, 0.5 and 0.25.
    // (2,0): Qw = 0.9 * 1.0e-5 = 9e-06, Qc = 0.9 * 0.5 = 0.45; unobserved.
    // (3,1): protein 3 has no motif, so Q = 1 and no binding variable.
    const std::string expected = kPairHead +
                                 "1\t0\t0.5,0.5\t0.2\n"
                                 "2\t2\t6.75e-11,0.16875\t0.448133\n"
                                 "2\t0\t9e-06,0.45\tH\n"
                                 "3\t1\t1,1\tH\n" +
                                 kPairTail + kBindHead +
                                 "1\t0\t1\t0\t0.5,0.5\t0.8\n"
                                 "2\t2\t0\t0\t0.1,0.1\t0.06639\n"
                                 "2\t2\t0\t2\t0.99999,0.5\t0.33195\n"
                                 "2\t2\t2\t0\t0.99999,0.5\t0.33195\n"
                                 "2\t2\t2\t2\t0.25,0.25\t0.165975\n"
                                 "2\t0\t0\t0\t0.1,0.1\tH\n"
                                 "2\t0\t2\t0\t0.99999,0.5\tH\n" +
                                 kBindTail;
    EXPECT_EQ(text, expected);
    EXPECT_TRUE(std::regex_match(err, std::regex("Warning: .*/pairs, line 5: reading stopped at end of file; the "
                                                 "rest of the file is ignored\n")))
        << err;

    // Empty lists: only the opening and closing lines.
    EXPECT_EQ(Predict(m, "", "").first, kPairHead + kPairTail + kBindHead + kBindTail);
}

TEST(Predict, OutOfRangeIdsAreSkippedWithAWarning)
{
    Model m;
    const auto [text, err] = Predict(m, "4 1\n1 0\n", "0 1\n-1 0\n");
    EXPECT_EQ(text,
              kPairHead + "1\t0\t0.5,0.5\t0.2\n" + kPairTail + kBindHead + "1\t0\t1\t0\t0.5,0.5\t0.8\n" + kBindTail);
    // One line per bad record, naming the file and both ids.
    std::istringstream lines(err);
    std::string first, second, rest;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_FALSE(std::getline(lines, rest)) << err;
    EXPECT_TRUE(std::regex_search(first, std::regex("^Warning: .*\\bpairs\\b.*\\b4\\b.*\\b1\\b"))) << first;
    EXPECT_TRUE(std::regex_search(second, std::regex("^Warning: .*\\bbinds\\b.*-1\\b.*\\b0\\b"))) << second;
}

TEST(Predict, ListsStopWhereTheOtherInputsStop)
{
    Model m;
    const std::string pairs = kPairHead + "1\t0\t0.5,0.5\t0.2\n" + kPairTail;
    const std::string binds = kBindHead + "1\t0\t1\t0\t0.5,0.5\t0.8\n" + kBindTail;
    // (pair list, binding list, the file and line the warning names, the token)
    const struct {
        std::string pairs, binds, where, token;
    } cases[] = {
        {"prot1 prot2\n0 1\n", "1 0\n", "pairs, line 1", "'prot1'"}, // a header
        {"\xEF\xBB\xBF"
         "1 0\n",
         "1 0\n", "pairs, line 1",
         "'\xEF\xBB\xBF"
         "1'"},                                                                 // a byte-order mark
        {"1 0\n", "0 1\n4294967296 1\n2 2\n", "binds, line 2", "'4294967296'"}, // beyond 32 bits
        {"1 0\n", "0 1\n\n2 # 2 2\n", "binds, line 3", "'#'"},                  // a stray token
    };
    for (const auto& c : cases) {
        const auto [text, err] = Predict(m, c.pairs, c.binds);
        const bool inPairs = c.where.rfind("pairs", 0) == 0;
        EXPECT_EQ(text, (inPairs ? kPairHead + kPairTail : pairs) + binds) << c.where;
        const std::string tail = ": reading stopped at " + c.token + "; the rest of the file is ignored\n";
        EXPECT_EQ(err.rfind("Warning: ", 0), 0u) << err;
        EXPECT_NE(err.find("/" + c.where + tail), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
}

// Every pair of the proteome, listed in both orders, against the formulas
// evaluated on the model objects and written by the stream itself: observed
// and unobserved pairs, self pairs, a protein without motifs.
TEST(Predict, EveryPairAgainstTheFormulas)
{
    Model m;
    m.pm.SetLeakType(0); // one leak variable per pair
    auto q = [&](const MotInterPot& pot, int i, int j) {
        double v = IntPow(1 - pot.GetLeak(), m.pm.NumLeak(i, j));
        for (const auto& [m1, l1] : m.pm.GetMots(i))
            for (const auto& [m2, l2] : m.pm.GetMots(j))
                if (pot.IsAct(m1, m2))
                    v = v * (1 - pot.GetPot(m1, m2));
        return v;
    };
    std::string list;
    std::ostringstream want;
    want << kPairHead;
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b) {
            list += std::to_string(a) + " " + std::to_string(b) + "\n";
            const int i = std::max(a, b), j = std::min(a, b);
            const double qw = q(m.mip, i, j), qc = q(m.micp, i, j);
            want << i << "\t" << j << "\t" << qw << "," << qc << "\t";
            if (m.pi.IsInter(i, j)) {
                const InterList& obs = m.pi.GetInter(i, j)->second;
                const double p0 = m.om.GetProb(0, obs), p1 = m.om.GetProb(1, obs);
                want << qc * p0 / ((1 - qc) * p1 + qc * p0);
            } else {
                want << "H";
            }
            want << "\n";
        }
    }
    want << kPairTail << kBindHead << kBindTail;
    const auto [text, err] = Predict(m, list, "");
    EXPECT_EQ(text, want.str());
    EXPECT_EQ(err, "");
}
