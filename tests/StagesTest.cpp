// The stages of a run called one by one on the recorded golden cases, as a
// test or a fuzz target calls them: on streams the caller opened, writing
// into memory. Together they must write exactly what the program wrote.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Stages.h"
#include "io/FileOpen.h"
#include "support/TestUtil.h"

namespace fs = std::filesystem;
using testutil::ReadFile;

namespace {

struct Written {
    std::string log, pred, out;
};

Settings SettingsOf(const std::vector<std::string>& words)
{
    std::vector<const char*> argv{"motifbind"};
    for (const auto& w : words)
        argv.push_back(w.c_str());
    return ParseCommandLine(int(argv.size()), argv.data());
}

// The stages in the run's order, on the files of folder `dir`.
Written RunStages(const fs::path& dir, const Settings& s)
{
    auto open = [&](InFile& f, const std::string& name) { InFopen(f, (dir / name).string()); };
    InFile protLen, motCover, protMot, obs, models, active, ddi, ddiModels, ddiOpt, pairs, binds;
    open(ddi, s.ddiFiles ? (*s.ddiFiles)[0] : "/dev/null");
    open(ddiModels, s.ddiFiles ? (*s.ddiFiles)[1] : "/dev/null");
    open(ddiOpt, s.ddiFiles ? (*s.ddiFiles)[2] : "/dev/null");
    for (const auto& [f, name] : {std::pair{&obs, s.protFile},
                                  {&models, s.modelFile},
                                  {&protMot, s.pmFile},
                                  {&active, s.motFile},
                                  {&protLen, s.protLenFile},
                                  {&motCover, s.motCoverFile},
                                  {&pairs, s.predpairFile},
                                  {&binds, s.predbindFile}})
        open(*f, name);

    std::ostringstream log, pred, out, status;
    ProgressLine quiet(status, false);
    RunLogs logs{log, out, quiet};
    RunModel m(s.numProt, s.numMot, s.leakType);
    testutil::CerrCapture warnings;
    ReadInputs(s, {protLen, motCover, protMot, obs, models, active, ddi, ddiModels, ddiOpt}, log, m);
    TrainedSet t = Train(m, TrainOptionsOf(s), logs);
    const AnalysisKind* a = AnalysisOf(s.perType);
    InText bindList;
    WritePredictions(pairs, binds, WritesBindingPredictions(a), m.pm, *t.ps, pred, bindList);
    RunAnalysis(s, a, m, t, bindList, logs);
    log << "*** End of file." << std::endl;
    EXPECT_EQ(status.str(), "");
    return {log.str(), pred.str(), out.str()};
}

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> w;
    for (std::string x; in >> x;)
        w.push_back(x);
    return w;
}

} // namespace

TEST(Stages, WriteWhatTheProgramWroteOnEveryGoldenCase)
{
    int cases = 0;
    for (const auto& e : fs::directory_iterator(testutil::GoldenDir())) {
        if (!fs::exists(e.path() / "args.txt"))
            continue;
        SCOPED_TRACE(e.path().filename().string());
        ++cases;
        const Settings s = SettingsOf(Words(ReadFile((e.path() / "args.txt").string())));
        const Written w = RunStages(e.path(), s);
        EXPECT_EQ(w.log, ReadFile((e.path() / "expected.log").string()));
        EXPECT_EQ(w.pred, ReadFile((e.path() / "expected.pred").string()));
        EXPECT_EQ(w.out, ReadFile((e.path() / "expected.stdout").string()));
    }
    EXPECT_GT(cases, 5);
}

TEST(Stages, BoundedTrainingRunsAtMostItsRounds)
{
    // The fuzz targets bound every phase; with 0 nothing is learned, not even
    // in the round that brings the DDI model in.
    const fs::path dir = testutil::GoldenDir() / "hand-ddi-mixture-model";
    const Settings s = SettingsOf(Words(ReadFile((dir / "args.txt").string())));
    for (const int rounds : {0, 2}) {
        SCOPED_TRACE(rounds);
        InFile protLen, motCover, protMot, obs, models, active, ddi, ddiModels, ddiOpt;
        for (const auto& [f, name] : {std::pair{&ddi, (*s.ddiFiles)[0]},
                                      {&ddiModels, (*s.ddiFiles)[1]},
                                      {&ddiOpt, (*s.ddiFiles)[2]},
                                      {&obs, s.protFile},
                                      {&models, s.modelFile},
                                      {&protMot, s.pmFile},
                                      {&active, s.motFile},
                                      {&protLen, s.protLenFile},
                                      {&motCover, s.motCoverFile}})
            InFopen(*f, (dir / name).string());
        std::ostringstream log, out, status;
        ProgressLine quiet(status, false);
        RunLogs logs{log, out, quiet};
        RunModel m(s.numProt, s.numMot, s.leakType);
        ReadInputs(s, {protLen, motCover, protMot, obs, models, active, ddi, ddiModels, ddiOpt}, log, m);
        const MotInterPot read = m.mip;
        TrainOptions o = TrainOptionsOf(s);
        o.maxRounds = rounds;
        const TrainedSet t = Train(m, o, logs);
        const std::string total = "*** Total # EM round and joint prob:\t" + std::to_string(rounds) + "\t";
        const std::string text = log.str();
        const auto first = text.find(total);
        ASSERT_NE(first, std::string::npos);
        EXPECT_NE(text.find(total, first + 1), std::string::npos);
        EXPECT_EQ(text.find("*** Start of EM"), std::string::npos);
        EXPECT_EQ(m.mip.GetActPair() == read.GetActPair(), rounds == 0);
        EXPECT_EQ(t.ps->Leak() == read.GetLeak(), rounds == 0);
    }
}
