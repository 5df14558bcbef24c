#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/TestUtil.h"

// The end of a whole run: the log joint written before the analysis, the
// analysis selected by -p and the closing line of the log.
namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> v;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        v.push_back(l);
    return v;
}

bool StartsWith(const std::string& s, const std::string& p) { return s.rfind(p, 0) == 0; }

// Five proteins, four motifs, one domain-domain observation; without leak
// variables (-l 2). Protein 1 carries motifs 1 and 3, protein 0 motifs 0
// and 2; of their combinations only (1, 0) and (2, 1) are active.
testutil::RunResult RunWith(const testutil::TempDir& d, const std::string& perType)
{
    d.Write("obs", "1 0 1 0 1\n0 2 1 -1 -1\n2 0 1 0 1\n2 2 1 0 1\n1 3 0 0 1\n");
    d.Write("models", "0 OM_BINARY 0.8\n1 OM_BINARY 0.1\n");
    d.Write("pmc", "0 0 5\n0 2 3\n1 1 4\n1 3 2\n2 1 6\n2 3 2\n4 0 3\n");
    d.Write("act", "0 1 0.6\n2 1 0.3\n3 3 0.5\n");
    d.Write("empty", "");
    d.Write("ddi", "2 1 1 0 1\n");
    d.Write("ddimodels", "0 OM_BINARY 0.7\n1 OM_BINARY 0.2\n");
    d.Write("pairs", "1 0\n");
    d.Write("len", "0 20\n1 15\n2 10\n3 12\n4 9\n");
    d.Write("cov", "0 8\n1 6\n2 8\n3 0\n4 3\n");
    std::vector<std::string> args{"-f", "5", "4", "-l", "2", "-d", "ddi", "ddimodels", "empty"};
    if (!perType.empty())
        args.insert(args.end(), {"-p", perType});
    args.insert(args.end(), {"obs", "models", "pmc", "act", "empty", "empty", "log", "pred", "pairs", "pairs", "1",
                             "len", "10", "cov"});
    return testutil::RunMotifbind(args, d.Path());
}

// The lines of the log from "Joint prob before perturbation:" on.
struct Tail {
    std::string jointBefore;  // value written before the analysis
    std::string lastTraining; // joint of the last training-summary line
    std::vector<std::string> analysis;
    std::string last;
};

Tail Split(const std::string& log)
{
    Tail t;
    const auto lines = Lines(log);
    size_t i = 0;
    for (; i < lines.size() && !StartsWith(lines[i], "Joint prob before perturbation:\t"); ++i)
        if (StartsWith(lines[i], "*** Total # EM round and joint prob:\t"))
            t.lastTraining = lines[i].substr(lines[i].rfind('\t') + 1);
    if (i == lines.size())
        return t;
    t.jointBefore = lines[i].substr(lines[i].find('\t') + 1);
    for (++i; i + 1 < lines.size(); ++i)
        t.analysis.push_back(lines[i]);
    t.last = lines.back();
    return t;
}

} // namespace

TEST(AnalysisRun, JointBeforeAnalysisAndEndOfLog)
{
    for (const std::string p : {"", "2", "3", "4", "0"}) {
        testutil::TempDir d;
        const auto r = RunWith(d, p);
        ASSERT_EQ(r.status, 0) << p << r.err;
        EXPECT_EQ(r.err, "");
        const std::string log = testutil::ReadFile(d.File("log"));
        const Tail t = Split(log);
        // The predictions change nothing: the joint of the last training
        // phase is what the analysis starts from.
        EXPECT_FALSE(t.lastTraining.empty());
        EXPECT_EQ(t.jointBefore, t.lastTraining) << p;
        EXPECT_EQ(t.last, "*** End of file.");
        EXPECT_EQ(log.substr(log.size() - 17), "*** End of file.\n");
        if (p == "4" || p == "0") {
            EXPECT_TRUE(t.analysis.empty()) << p;
        }
        // Re-convergences log nowhere.
        for (const auto& l : t.analysis)
            EXPECT_FALSE(StartsWith(l, "*** Start of EM") || StartsWith(l, "*** (After EM round")) << l;
    }
}

TEST(AnalysisRun, SelectedAnalysisReadsBindingPairsFromTheStart)
{
    // The binding-pairs file holds "1 0". The predictions have already read
    // it, so the analysis sees it only if it is reopened. Type 1 (the
    // default) runs four cycles of six lines, type 2 one of five (motifs 1
    // and 0), type 3 four of five (file order, protein 1 first).
    struct Case {
        std::string perType, first;
        size_t lines;
        std::vector<std::pair<size_t, std::string>> zero; // inactive: no change
    };
    const std::vector<Case> cases{
        {"",
         "*** SetNonBind (prot1, mot1, prob2, numLeak, numNBLeak, numActLeak):\t1\t1\t0\t0\t0\t0",
         24,
         {{8,
           "*** Likelihood change after forcing an active motif and a protein to be non-binding "
           "(Prot1, Mot1, Prot2, Prob):\t1\t3\t0\t0"}}},
        {"2",
         "*** Likelihood change after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):\t1\t0\t",
         5,
         {}},
        {"3",
         "*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, "
         "Mot1, Prot2, Mot2, Prob):\t1\t1\t0\t0\t",
         20,
         {{11,
           "*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, "
           "Prot2, Mot2, Prob):\t1\t3\t0\t0\t0"},
          {16,
           "*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, "
           "Prot2, Mot2, Prob):\t1\t3\t0\t2\t0"}}},
    };
    for (const auto& c : cases) {
        testutil::TempDir d;
        ASSERT_EQ(RunWith(d, c.perType).status, 0);
        const Tail t = Split(testutil::ReadFile(d.File("log")));
        ASSERT_EQ(t.analysis.size(), c.lines) << c.perType;
        EXPECT_TRUE(StartsWith(t.analysis[0], c.first)) << t.analysis[0];
        // Without leak variables (-l 2), forcing motif 3 of protein 1, which
        // forms no active pair with a motif of protein 0, changes nothing.
        for (const auto& [i, line] : c.zero)
            EXPECT_EQ(t.analysis[i], line);
    }
}
