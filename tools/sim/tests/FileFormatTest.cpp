// Every generated file must read back as motifbind reads it: complete
// records, ids in range, every model ID defined, lengths and coverage
// consistent, and a command line that names files that exist.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>

#include "tools/sim/tests/SimTestSupport.h"

namespace fs = std::filesystem;

namespace {

struct ModelRecord {
    std::string type;
    std::vector<double> params;
};

// Reads an observation-model file; only the kinds the simulator writes are known.
std::map<int, ModelRecord> ReadModels(const fs::path& path)
{
    const std::map<std::string, std::size_t> arity{{"OM_BINARY", 1}, {"OM_GAUSSIAN", 2}};
    std::istringstream in(ReadFile(path));
    std::map<int, ModelRecord> models;
    int id = 0;
    while (in >> id) {
        ModelRecord m;
        in >> m.type;
        const auto it = arity.find(m.type);
        if (it == arity.end()) {
            ADD_FAILURE() << path << ": unknown model type '" << m.type << "'";
            break;
        }
        m.params.resize(it->second);
        for (double& x : m.params) {
            in >> x;
        }
        EXPECT_FALSE(in.fail()) << path << ": model " << id << " cut short";
        EXPECT_GE(id, 0);
        EXPECT_TRUE(models.emplace(id, m).second) << path << ": model ID " << id << " defined twice";
    }
    EXPECT_TRUE(in.eof()) << path << ": unreadable token after the last model";
    for (const auto& [mid, m] : models) {
        if (m.type == "OM_BINARY") {
            EXPECT_TRUE(m.params[0] >= 0.0 && m.params[0] <= 1.0) << "model " << mid;
        } else {
            EXPECT_GT(m.params[1], 0.0) << "Gaussian variance of model " << mid;
        }
    }
    return models;
}

// Every ID >= 0 must be defined, and every defined model must be used: a model
// without observations would learn from zero weight.
void CheckModelUse(const std::vector<std::pair<int, int>>& used, const std::map<int, ModelRecord>& models,
                   const std::string& what)
{
    std::set<int> seen;
    for (const auto& [m0, m1] : used) {
        for (int id : {m0, m1}) {
            EXPECT_GE(id, -2) << what;
            if (id >= 0) {
                EXPECT_EQ(models.count(id), 1u) << what << " uses undefined model ID " << id;
                seen.insert(id);
            }
        }
    }
    for (const auto& [id, m] : models) {
        EXPECT_EQ(seen.count(id), 1u) << what << ": model ID " << id << " is defined but never used";
    }
}

std::pair<int, int> Key(double a, double b)
{
    return {static_cast<int>(std::max(a, b)), static_cast<int>(std::min(a, b))};
}

struct FormatCase {
    std::string name;
    std::vector<std::string> args;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class FileFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FileFormatTest, EveryFileReadsBackAsValidInput)
{
    TempDir tmp;
    const std::string out = tmp.File("set");
    std::vector<std::string> args{"--out", out};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const SimRun run = RunSim(args);
    ASSERT_EQ(run.status, 0) << run.err;

    const InputSet set = LoadInputSet(out);
    const Command& cmd = set.command;
    ASSERT_EQ(cmd.positionals.size(), 14u);
    EXPECT_EQ(cmd.program, "motifbind");
    for (char opt : {'f', 'l', 'p', 's'}) {
        EXPECT_EQ(cmd.options.count(opt), 1u) << "option -" << opt;
    }
    // Inputs exist, outputs do not (motifbind refuses to overwrite them).
    for (std::size_t i : {0, 1, 2, 3, 4, 5, 8, 9, 11, 13}) {
        EXPECT_TRUE(fs::is_regular_file(set.Positional(i))) << cmd.positionals[i];
    }
    EXPECT_FALSE(fs::exists(set.Positional(6)));
    EXPECT_FALSE(fs::exists(set.Positional(7)));
    EXPECT_GT(std::stod(cmd.positionals[10]), 0.0);
    EXPECT_GE(set.leakGroup, 1);
    const bool ddi = cmd.options.count('d') == 1;

    // Proteins: every one listed, motifs within length, coverage between the
    // longest motif and the sum of the motif lengths.
    for (int p = 0; p < set.numProt; ++p) {
        const auto up = static_cast<std::size_t>(p);
        ASSERT_GE(set.coverage[up], 0) << "protein " << p << " has no coverage record";
        ASSERT_GE(set.length[up], set.coverage[up]) << "protein " << p;
        int longest = 0;
        long sum = 0;
        std::set<int> mots;
        for (const auto& [m, len] : set.motifs[up]) {
            EXPECT_GT(len, 0);
            EXPECT_TRUE(mots.insert(m).second) << "protein " << p << " lists motif " << m << " twice";
            longest = std::max(longest, len);
            sum += len;
        }
        EXPECT_GE(set.coverage[up], longest) << "protein " << p;
        EXPECT_LE(set.coverage[up], sum) << "protein " << p;
        // Products of lengths are formed in 32-bit signed arithmetic.
        EXPECT_LE(set.length[up], 46340);
    }

    // Active pairs: the same set as the truth, each once, ids in range.
    std::set<std::pair<int, int>> active;
    for (const auto& r : ReadRecords(set.Positional(3), 3)) {
        EXPECT_TRUE(r[0] >= 0 && r[0] < set.numMot && r[1] >= 0 && r[1] < set.numMot);
        EXPECT_TRUE(r[2] > 0.0 && r[2] < 1.0);
        EXPECT_TRUE(active.insert(Key(r[0], r[1])).second) << "active pair listed twice";
    }
    std::set<std::pair<int, int>> truthPairs;
    for (const auto& [key, affinity] : set.truthAffinity) {
        truthPairs.insert(key);
        EXPECT_TRUE(affinity > 0.0 && affinity < 1.0);
    }
    EXPECT_EQ(active, truthPairs);
    // The truth file lists pairs as the log does: larger id first, ascending.
    const auto truthRows = ReadRecords(out + "/truth_affinities.txt", 3);
    for (std::size_t i = 0; i < truthRows.size(); ++i) {
        EXPECT_GE(truthRows[i][0], truthRows[i][1]);
        if (i > 0) {
            EXPECT_LT(std::make_pair(truthRows[i - 1][0], truthRows[i - 1][1]),
                      std::make_pair(truthRows[i][0], truthRows[i][1]));
        }
    }

    // Observations: proteins in range, models defined and used, values that
    // their models can produce.
    const auto models = ReadModels(set.Positional(1));
    std::vector<std::pair<int, int>> used;
    std::set<std::pair<int, int>> observedPairs;
    for (const auto& r : set.observations) {
        EXPECT_TRUE(r[0] >= 0 && r[0] < set.numProt && r[1] >= 0 && r[1] < set.numProt);
        const int m0 = static_cast<int>(r[3]);
        const int m1 = static_cast<int>(r[4]);
        used.emplace_back(m0, m1);
        observedPairs.insert(Key(r[0], r[1]));
        const auto it = models.find(m0);
        if ((m0 == -1 && m1 == -1) || (it != models.end() && it->second.type == "OM_BINARY")) {
            EXPECT_TRUE(r[2] == 0.0 || r[2] == 1.0) << "binary value " << r[2];
        }
    }
    CheckModelUse(used, models, "protein observations");
    std::set<std::pair<int, int>> truthTested;
    for (const auto& r : set.truthInteractions) {
        truthTested.insert(Key(r[0], r[1]));
        EXPECT_TRUE(r[2] == 0.0 || r[2] == 1.0);
    }
    EXPECT_EQ(observedPairs, truthTested);
    EXPECT_EQ(truthTested.size(), static_cast<std::size_t>(set.parameters.at("tested_pairs")));

    // Prediction lists: ids in range; the binding list holds tested protein
    // pairs, or active motif pairs with perturbation type 2.
    for (const auto& r : ReadRecords(set.Positional(8), 2)) {
        EXPECT_TRUE(r[0] >= 0 && r[0] < set.numProt && r[1] >= 0 && r[1] < set.numProt);
    }
    const bool motifList = cmd.options.at('p')[0] == "2";
    for (const auto& r : ReadRecords(set.Positional(9), 2)) {
        if (motifList) {
            EXPECT_EQ(active.count(Key(r[0], r[1])), 1u);
        } else {
            EXPECT_EQ(truthTested.count(Key(r[0], r[1])), 1u);
        }
    }

    EXPECT_EQ(ddi, fs::exists(out + "/truth_ddi.txt"));
    if (!ddi) {
        return;
    }
    const auto& d = cmd.options.at('d');
    const auto ddiModels = ReadModels(fs::path(out) / d[1]);
    std::vector<std::pair<int, int>> ddiUsed;
    for (const auto& r : ReadRecords(fs::path(out) / d[0], 5)) {
        EXPECT_EQ(active.count(Key(r[0], r[1])), 1u) << "domain-domain evidence on an inactive pair is dropped";
        ddiUsed.emplace_back(static_cast<int>(r[3]), static_cast<int>(r[4]));
    }
    const auto options = ReadRecords(fs::path(out) / d[2], 5);
    ASSERT_FALSE(options.empty());
    bool optionCoversActive = false;
    for (const auto& r : options) {
        EXPECT_TRUE(r[0] == 0 || r[0] == 1 || r[0] == 2);
        EXPECT_TRUE(r[4] >= 0 && r[4] <= set.numMot);
        ddiUsed.emplace_back(static_cast<int>(r[2]), static_cast<int>(r[3]));
        for (const auto& pair : active) {
            optionCoversActive = optionCoversActive || pair.first < r[4];
        }
    }
    EXPECT_TRUE(optionCoversActive) << "the option record must reach at least one active pair";
    CheckModelUse(ddiUsed, ddiModels, "domain-domain observations");
    // The domain-domain store decodes motif ids only below 10 x proteins - 1.
    EXPECT_LE(set.numMot, 10 * set.numProt - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Configurations, FileFormatTest,
    ::testing::Values(
        FormatCase{"Default", {}},
        FormatCase{"HomodimersAndSquareRootLeak",
                   {"--proteins", "150", "--motifs", "40", "--pairs", "1500", "--self-frac", "0.05"}},
        FormatCase{"NoDdiLeakType0MotifPertype",
                   {"--ddi", "0", "--leak-type", "0", "--pertype", "2", "--prior-ratio", "3", "--score-frac", "0"}},
        FormatCase{"TinySetWithoutLeak",
                   {"--proteins", "3", "--motifs", "2", "--pairs", "3", "--leak-type", "2", "--binary-frac", "0",
                    "--score-frac", "1", "--active-pairs", "3"}},
        FormatCase{"ProteinWithItselfOnly",
                   {"--proteins", "1", "--motifs", "1", "--pairs", "1", "--self-frac", "1", "--ddi", "1"}}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return info.param.name; });

TEST(CommandLineTest, OptionsFollowTheChosenSettings)
{
    TempDir tmp;
    const std::string out = tmp.File("set");
    ASSERT_EQ(RunSim({"--out", out, "--leak-type", "0", "--pertype", "3", "--pertsize", "-1", "--prior-ratio", "2",
                      "--ddi", "0", "--prior-pos", "0.25", "--leak-group", "777"})
                  .status,
              0);
    const Command cmd = ReadCommand(out);
    EXPECT_EQ(cmd.options.at('f'), (std::vector<std::string>{"300", "60"}));
    EXPECT_EQ(cmd.options.at('l'), std::vector<std::string>{"0"});
    EXPECT_EQ(cmd.options.at('p'), std::vector<std::string>{"3"});
    EXPECT_EQ(cmd.options.at('s'), std::vector<std::string>{"-1"});
    EXPECT_EQ(cmd.options.at('n'), std::vector<std::string>{"2"});
    EXPECT_EQ(cmd.options.count('d'), 0u);
    ASSERT_EQ(cmd.positionals.size(), 14u);
    EXPECT_EQ(cmd.positionals[10], "0.25");
    EXPECT_EQ(cmd.positionals[12], "777");
    EXPECT_TRUE(fs::is_empty(fs::path(out) / cmd.positionals[4]));
    EXPECT_TRUE(fs::is_empty(fs::path(out) / cmd.positionals[5]));
}

TEST(CommandLineTest, RecommendedEstimatorAndPriorLeadUnlessSetToZero)
{
    TempDir tmp;
    const auto head = [&tmp](const std::string& name, std::vector<std::string> args) {
        args.insert(args.begin(), {"--out", tmp.File(name)});
        EXPECT_EQ(RunSim(args).status, 0) << name;
        const std::string text = ReadFile(fs::path(tmp.File(name)) / "command.txt");
        return text.substr(0, text.find(" -l "));
    };
    EXPECT_EQ(head("default", {}), "motifbind -e 1 -b 200 -f 300 60");
    EXPECT_EQ(head("old", {"--estimator", "0", "--noise-prior", "0"}), "motifbind -f 300 60");
    EXPECT_EQ(head("weak", {"--estimator", "0", "--noise-prior", "2.5"}), "motifbind -b 2.5 -f 300 60");
    // The command line changes nothing the simulator draws.
    for (const char* name : {"ppi_observations.txt", "ddi_observations.txt", "truth_ddi.txt", "truth_affinities.txt"}) {
        EXPECT_EQ(ReadFile(fs::path(tmp.File("default")) / name), ReadFile(fs::path(tmp.File("old")) / name)) << name;
    }
    EXPECT_NE(RunSim({"--out", tmp.File("bad"), "--estimator", "2"}).status, 0);
    EXPECT_NE(RunSim({"--out", tmp.File("bad"), "--noise-prior", "-1"}).status, 0);
}

} // namespace
