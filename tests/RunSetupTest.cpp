// A whole run on a small hand-made data set: the log up to the end of the
// initialisation, rejected input, early stops and the output-file guard.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/TestUtil.h"

using testutil::ReadFile;
using testutil::RunMotifbind;
using testutil::TempDir;

namespace {

// Four proteins, three motifs. Records may span lines or share one.
const std::map<std::string, std::string> kData = {
    {"len", "0 100\n1 80\n2 50  3 60\n"},
    {"cov", "0 30\n1 20\n2 10\n"}, // protein 3 keeps -1
    // (0, 0) twice, the second spanning two lines: 6 appearances, length 15 kept.
    {"pmc", "0 0 12\n0 2 8\n1 1 10\n2 0 5\n0 0\n15\n3 1 7\n"},
    // ID 5 -> 0, ID 2 -> 1, ID 5 again -> 2 (the binary model stays unused).
    {"models",
     "5 OM_BINARY 0.8\n2 OM_GAUSSIAN 0.5 0.25\n5 OM_MIXTURE 20 2\n"
     "  0.4 OM_GAUSSIAN 0 1\n  0.6 OM_EXPONENTIAL 0 0 2\n"},
    {"obs", "1 0 1 2 5\n0 1 0.7 -1 5\n2 3 0 -2 -1\n3 0 0.25 2 2\n"},
    // (0, 1) and (1, 0): one pair, affinity 0.4; 4 records.
    {"act", "0 1 0.3   2 2 0.5\n1 0 0.4\n1 1 0.2\n"},
    {"ddimodel", "7 OM_UNIFORM 0 2 3\n3 OM_BINARY 0.6\n"}, // ID 7 -> 0, ID 3 -> 1
    {"ddi", "0 1 0.9 7 3\n2 0 1 7 3\n1 1 0.3 -1 -2\n2 2 0 3 7\n"},
    {"ddiopt", "0 0.1 3 -1 3\n1 0.2 -2 3 3\n2 0.6 -2 7 2\n0 0.1 3 -1 3\n3 0.5 7 7 3\n"},
    {"inact", ""},
    {"wait", ""},
    {"pairs", "1 0\n3 2\n"},
};

const std::vector<std::string> kDdi = {"-d", "ddi", "ddimodel", "ddiopt"};
const std::vector<std::string> kPositional = {"obs",  "models", "pmc",   "act", "inact", "wait", "log",
                                              "pred", "pairs",  "pairs", "0.5", "len",   "100",  "cov"};

std::vector<std::string> Words(bool ddi)
{
    std::vector<std::string> w = {"-f", "4", "3", "-n", "2", "-p", "4"};
    if (ddi)
        w.insert(w.end(), kDdi.begin(), kDdi.end());
    w.insert(w.end(), kPositional.begin(), kPositional.end());
    return w;
}

void WriteData(const TempDir& d, const std::map<std::string, std::string>& changes = {})
{
    for (const auto& [name, text] : kData)
        d.Write(name, changes.count(name) ? changes.at(name) : text);
}

std::string CommandLine(const std::vector<std::string>& words)
{
    std::string s = std::string("*** Command line: ") + MOTIFBIND_EXE;
    for (const auto& w : words)
        s += " " + w;
    return s + "\n";
}

// The log from its first line to the end of the initialisation banner.
std::string Head(const std::string& log)
{
    const std::string end =
        "***********************************************\n*** Initialization done.\n"
        "***********************************************\n";
    const auto at = log.find(end);
    return at == std::string::npos ? log : log.substr(0, at + end.size());
}

// Worked out from kData. Leak type 1 with leakGroup 100: initial leak
// sqrt(100) * 0.0001 = 0.001, and a pair with N non-motif residue pairs has
// floor(sqrt(10 * N / 100)) + 1 leak variables. N = len*len - cov*cov:
//   (1,0): 100*80 - 30*20 = 7400 -> sqrt(740) = 27.2 -> 28
//   (3,0): 100*60 - 30*(-1) = 6030 -> sqrt(603) = 24.6 -> 25
//   (3,2): 50*60 - 10*(-1) = 3010 -> sqrt(301) = 17.3 -> 18
//   motif pairs read as protein ids: (1,1): 6400 - 400 = 6000 -> 25;
//   (2,2): 2500 - 100 = 2400 -> sqrt(240) = 15.5 -> 16
// DDI: the file adds (1,0) and (1,1) and (2,2), drops the inactive (2,0).
// Options (IDs 7 -> 0, 3 -> 1):
//   0 0.1 (1,-1) bound 3: (0,0) inactive; (1,1) has no model 1 for value 0 -> add;
//                         (2,2) already has model 1 for value 0 -> skip
//   1 0.2 (-2,1) bound 3: (1,0) -> add
//   2 0.6 (-2,0) bound 2: (1,1) -> add; (1,0) already has -2 -> skip
//   the first record again and option 3 add nothing: 3 + 3 = 6 observations.
std::string ExpectedHead(bool ddi)
{
    std::string h = CommandLine(Words(ddi));
    h += "*** # proteins:\t4\n"
         "*** # motifs:\t3\n"
         "Prior:\t0.5\t2\t1\t1.5\n" // aNeg = 2 * 0.5, aAll = 1 + 0.5
         "pertSize:\t-1\n"
         "*** Total # motif appearances:\t6\n"
         "*** # noisy observations:\t4\n"
         "*** # active motif pairs:\t4\n"
         "*** Initial leak prob:\t0.001\n";
    h += ddi ? "*** # noisy observations:\t6\n" : "*** # noisy observations:\t0\n";
    h += "***s Motifs:\n"
         "Protein 0:\t0,15\t2,8\n"
         "Protein 1:\t1,10\n"
         "Protein 2:\t0,5\n"
         "Protein 3:\t1,7\n"
         "***e Motifs.\n"
         "*** Total # motifs:\t5\n"
         "***s Protein lengths and motif coverage:\n"
         "0\t100\t30\n"
         "1\t80\t20\n"
         "2\t50\t10\n"
         "3\t60\t-1\n"
         "***e Protein lengths and motif coverage.\n"
         // No forced setting yet; the other fields start at -1 and 0.
         "*** Forced nonbinding (prot1, prot2, mot1, mot2):\t-1\t-1\t-1\t-1\n"
         "*** (numnbleak, leakGroup size):\t0\t100\n";
    const std::string obsHeader =
        "***s Observations (prot1, prot2, # nonmotif aa pair with all binding, "
        "# 0th leak var, (obs val, modelid1, modelid2)+):\n";
    h += "****** PPI ******\n" + obsHeader +
         "1\t0\t7400\t28\t1\t1\t2\t0.7\t-1\t2\n"
         "3\t0\t6030\t25\t0.25\t1\t1\n"
         "3\t2\t3010\t18\t0\t-2\t-1\n"
         "***e Observations.\n"
         "*** Total # interacting protein pairs:\t3\n";
    h += "****** DDI ******\n" + obsHeader;
    if (ddi)
        h += "1\t0\t7400\t28\t0.9\t0\t1\t0.2\t-2\t1\n"
             "1\t1\t6000\t25\t0.3\t-1\t-2\t0.1\t1\t-1\t0.6\t-2\t0\n"
             "2\t2\t2400\t16\t0\t1\t0\n";
    h += "***e Observations.\n";
    h += ddi ? "*** Total # interacting protein pairs:\t3\n" : "*** Total # interacting protein pairs:\t0\n";
    h += "****** Potential without conditioning ******\n"
         "***s Motif pair affinity:\n"
         "1\t0\t0.4\n"
         "1\t1\t0.2\n"
         "2\t2\t0.5\n"
         "***e Motif pair affinity.\n"
         "*** Total # motif pairs:\t3\n"
         "*** Leak probability:\t0.001\n"
         "****** PPI observatoin model ******\n"
         "*** # models:\t3\n"
         "***s Model info (stat size, ID, type, (param)+):\n"
         "0\t0\tOM_BINARY\t0.8\n"
         "0\t1\tOM_GAUSSIAN\t0.5\t0.25\n"
         "0\t2\tOM_MIXTURE\t20\t2\n"
         "0.4\tOM_GAUSSIAN\t0\t1\n"
         "0.6\tOM_EXPONENTIAL\t0\t0\t2\n"
         "***e Model info.\n"
         "****** DDI observatoin model ******\n";
    if (ddi)
        h += "*** # models:\t2\n"
             "***s Model info (stat size, ID, type, (param)+):\n"
             "0\t0\tOM_UNIFORM\t0\t2\t3\n"
             "0\t1\tOM_BINARY\t0.6\n"
             "***e Model info.\n";
    else
        h += "*** # models:\t0\n"
             "***s Model info (stat size, ID, type, (param)+):\n"
             "***e Model info.\n";
    h += "***********************************************\n"
         "*** Initialization done.\n"
         "***********************************************\n";
    return h;
}

// `value` occurs in `text` as a whole token (not part of a longer number or word).
bool HasToken(const std::string& text, const std::string& value)
{
    const std::string esc = std::regex_replace(value, std::regex(R"([.^$|()\[\]{}*+?\\-])"), R"(\$&)");
    return std::regex_search(text, std::regex("(^|[^0-9A-Za-z_.-])" + esc + "([^0-9A-Za-z_.]|$)"));
}

int Lines(const std::string& s) { return int(std::count(s.begin(), s.end(), '\n')); }

} // namespace

TEST(RunSetup, LogHeadOfHandMadeDataSet)
{
    for (const bool ddi : {true, false}) {
        TempDir d;
        WriteData(d);
        const auto r = RunMotifbind(Words(ddi), d.Path());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, ""); // every file ends cleanly: no warning
        const std::string log = ReadFile(d.File("log"));
        EXPECT_EQ(Head(log), ExpectedHead(ddi)) << "with -d: " << ddi;
        EXPECT_NE(log.find("*** End of file.\n"), std::string::npos);
    }
}

TEST(RunSetup, DdiPairsDecodeWithTenTimesMoreMotifsThanProteins)
{
    // One protein, twelve motifs: the self pair (9, 9) and the pair (11, 10)
    // decode wrongly when sized for one id only.
    TempDir d;
    WriteData(d, {{"len", "0 20\n"},
                  {"cov", "0 8\n"},
                  {"pmc", "0 9 5\n0 11 3\n"},
                  {"models", ""},
                  {"obs", "0 0 1 -1 -1\n"},
                  {"act", "9 9 0.5\n11 10 0.4\n"},
                  {"ddimodel", ""},
                  {"ddi", "9 9 1 -1 -1\n10 11 0 -1 -2\n"},
                  {"ddiopt", ""},
                  {"pairs", "0 0\n"}});
    std::vector<std::string> w = {"-f", "1", "12", "-p", "4", "-d", "ddi", "ddimodel", "ddiopt"};
    w.insert(w.end(), kPositional.begin(), kPositional.end());
    w[w.size() - 2] = "10";
    const auto r = RunMotifbind(w, d.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string log = Head(ReadFile(d.File("log")));
    const auto ddi = log.find("****** DDI ******\n");
    const auto pot = log.find("****** Potential without conditioning ******\n");
    ASSERT_NE(ddi, std::string::npos);
    ASSERT_NE(pot, std::string::npos);
    const std::string ddiSection = log.substr(ddi, pot - ddi);
    // The two count columns depend on protein data the motif ids do not index.
    EXPECT_TRUE(std::regex_search(ddiSection, std::regex("\n9\t9\t-?[0-9]+\t[0-9]+\t1\t-1\t-1\n"))) << ddiSection;
    EXPECT_TRUE(std::regex_search(ddiSection, std::regex("\n11\t10\t-?[0-9]+\t[0-9]+\t0\t-1\t-2\n"))) << ddiSection;
    EXPECT_NE(ddiSection.find("*** Total # interacting protein pairs:\t2\n"), std::string::npos);
    EXPECT_NE(log.find("***s Motif pair affinity:\n9\t9\t0.5\n11\t10\t0.4\n***e"), std::string::npos) << log;
}

TEST(RunSetup, RejectedInputNamesFileLineAndValue)
{
    struct Case {
        std::string file, text;
        int line;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"len", "0 100\n1 80\n4 50\n", 3, "4"},
        {"len", "0 100\n-1 80\n", 2, "-1"},
        {"cov", "0 30\n\n7 20\n", 3, "7"},
        {"pmc", "0 0 12\n4 1 10\n", 2, "4"},
        {"pmc", "0 0 12\n1 3 10\n", 2, "3"},
        // The record starts on line 2; the bad protein id is on line 3.
        {"obs", "1 0 1 2 5\n0\n9 0.7 -1 5\n", 2, "9"},
        {"obs", "1 0 1 2 5\n3 0 0.25 4 2\n", 2, "4"},
        {"obs", "1 0 1 2 5\n3 0 0.25 2 -3\n", 2, "-3"},
        {"act", "0 1 0.3\n2 3 0.5\n", 2, "3"},
        {"act", "0 -2 0.3\n", 1, "-2"},
        {"models", "5 OM_BINARY 0.8\n2 OM_GAUSS 0.5 0.25\n", 2, "OM_GAUSS"},
        {"models", "5 OM_MIXTURE 20 2\n 0.4 OM_GAUSSIAN 0 1\n 0.6 OM_POISSON 2\n", 1, "OM_POISSON"},
        {"models", "5 OM_BINARY 0.8\n2 OM_GAUSSIAN 0.5\n", 2, "2"},
        {"models", "5 OM_BINARY 0.8\n\n2\n", 3, "2"},
        {"ddimodel", "7 OM_UNIFORM 0 2 3\n3 om_binary 0.6\n", 2, "om_binary"},
        {"ddi", "0 1 0.9 7 3\n2 2 0 3 9\n", 2, "9"},
        {"ddiopt", "0 0.1 3 -1 3\n1 0.2 -2 4 3\n", 2, "4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + ": " + c.text);
        TempDir d;
        WriteData(d, {{c.file, c.text}});
        const auto r = RunMotifbind(Words(true), d.Path());
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err.rfind("Error: " + c.file, 0), 0u) << r.err;
        EXPECT_EQ(Lines(r.err), 1) << r.err;
        EXPECT_TRUE(std::regex_search(r.err, std::regex("line " + std::to_string(c.line) + "([^0-9]|$)"))) << r.err;
        // The value, with the file name cut off so that it cannot match there.
        EXPECT_TRUE(HasToken(r.err.substr(7 + c.file.size()), c.value)) << r.err;
        EXPECT_NE(r.err.find("expected"), std::string::npos) << r.err;
        // At most the header reached the log; no prediction file.
        EXPECT_EQ(ReadFile(d.File("log")).find("***s"), std::string::npos);
        EXPECT_FALSE(testutil::FileExists(d.File("pred")));
    }

    // Without -f there are no proteins: the first protein id is already out of range.
    TempDir d;
    WriteData(d);
    auto w = Words(true);
    w.erase(w.begin(), w.begin() + 3);
    const auto r = RunMotifbind(w, d.Path());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("Error: len, line 1", 0), 0u) << r.err;
    EXPECT_EQ(Lines(r.err), 1) << r.err;
    EXPECT_EQ(r.err.find("-1"), std::string::npos) << r.err; // no range "0 to -1"
}

TEST(RunSetup, HeaderLineInContentFileWarnsAndTheRunGoesOn)
{
    TempDir d;
    WriteData(d, {{"pmc", "prot mot len\n0 0 12\n1 1 10\n"}});
    const auto r = RunMotifbind(Words(true), d.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.rfind("Warning: pmc", 0), 0u) << r.err;
    EXPECT_EQ(Lines(r.err), 1) << r.err;
    EXPECT_TRUE(std::regex_search(r.err, std::regex("line 1([^0-9]|$)"))) << r.err;
    EXPECT_NE(r.err.find("prot"), std::string::npos) << r.err;
    const std::string log = ReadFile(d.File("log"));
    EXPECT_NE(log.find("*** Total # motif appearances:\t0\n"), std::string::npos);
    EXPECT_NE(log.find("***s Motifs:\nProtein 0:\nProtein 1:\nProtein 2:\nProtein 3:\n***e Motifs.\n"
                       "*** Total # motifs:\t0\n"),
              std::string::npos);
    EXPECT_EQ(log.find("Warning"), std::string::npos);
    EXPECT_NE(ReadFile(d.File("pred")), "");
}

TEST(RunSetup, OutputGuardAndMissingInputStopTheRun)
{
    {
        // The length file is opened after the log: the log stays empty.
        TempDir d;
        WriteData(d);
        std::remove(d.File("len").c_str());
        const auto r = RunMotifbind(Words(true), d.Path());
        EXPECT_NE(r.status, 0);
        EXPECT_EQ(r.err, "Error: can't open len\n");
        EXPECT_TRUE(testutil::FileExists(d.File("log")));
        EXPECT_EQ(ReadFile(d.File("log")), "");
    }
    {
        // An existing log is left alone, and nothing is read: the bad
        // protein id in the content file is never reported.
        TempDir d;
        WriteData(d, {{"pmc", "9 0 1\n"}});
        d.Write("log", "an earlier result\n");
        const auto r = RunMotifbind(Words(true), d.Path());
        EXPECT_NE(r.status, 0);
        EXPECT_EQ(r.err, "Error: file already exists: log\n");
        EXPECT_EQ(ReadFile(d.File("log")), "an earlier result\n");
        EXPECT_FALSE(testutil::FileExists(d.File("pred")));
    }
}
