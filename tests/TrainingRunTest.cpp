#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "format/PairIndex.h"
#include "support/TestUtil.h"

// A complete training run on a small data set, checked against a separate,
// straightforward implementation of the model written here: the noisy-OR
// non-interaction probability, the evidence ratio, the MAP updates of the
// affinities and the leak, binary and Gaussian learning, the log joint with
// its prior, and the EM stopping rule (checks after every third round, stop
// on an improvement below 0.01). One leak variable per pair. Without DDI
// evidence, and with DDI evidence learned through one shared state per
// motif pair and a Beta prior on the binary noise models.

namespace {

// Five proteins, three motifs. Model positions 0/1: binary models for the
// non-interacting / interacting state; 2/3: Gaussian models likewise.
const char* const kObs = "1 0 1 0 1\n0 1 1.7 2 3\n2 0 0 0 1\n2 1 1 0 1\n2 1 2.5 2 3\n3 0 0 0 1\n"
                         "3 0 -0.3 2 3\n3 2 0.4 2 3\n4 2 1 0 1\n4 2 1.2 2 3\n3 2 1 0 1\n2 0 1.9 2 3\n";
const char* const kModels = "0 OM_BINARY 0.9\n1 OM_BINARY 0.3\n2 OM_GAUSSIAN 0 1\n3 OM_GAUSSIAN 2 1.5\n";
const char* const kProtMot = "0 0 5\n1 1 4\n1 2 6\n2 0 5\n2 2 3\n4 1 7\n";
const char* const kActive = "0 1 0.3\n0 2 0.2\n2 1 0.1\n2 2 0.05\n";
const char* const kPairs = "1 0\n0 2\n3 1\n2 1\n4 4\n0 3\n2 3\n2 4\n";
const char* const kBinds = "1 0\n2 1\n3 1\n4 4\n0 4\n2 2\n";

std::string G15(double x)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", x);
    return buf;
}

struct Ob {
    double val;
    int id[2];
};

struct Dist {
    bool binary;
    double p0, mean, var;
    // Beta pseudo-counts of a 0 and of a 1 (binary only; none when both 0).
    double a0 = 0.0, a1 = 0.0;

    double Prob(double v) const
    {
        if (binary)
            return std::fabs(v) < 1e-05 ? p0 : 1 - p0;
        const double d = v - mean;
        return std::exp(((d / var) * d) * (-0.5)) / std::sqrt(var * 6.28318);
    }
    void Learn(const std::vector<std::pair<double, double>>& ss)
    {
        double w = 0.0, zero = 0.0, sum = 0.0, sq = 0.0;
        for (const auto& [wt, v] : ss) {
            w += wt;
            zero += std::fabs(v) < 1e-05 ? wt : 0.0;
            sum += wt * v;
        }
        if (binary) {
            p0 = a0 + a1 > 0.0 ? (zero + a0) / (w + (a0 + a1)) : zero / w;
            return;
        }
        mean = (1 / w) * sum;
        for (const auto& [wt, v] : ss)
            sq += wt * ((v - mean) * (v - mean));
        var = (1 / w) * sq;
    }
    double LogPrior() const
    {
        double l = 0.0;
        if (a0 > 0.0)
            l += a0 * std::log(p0);
        if (a1 > 0.0)
            l += a1 * std::log(1 - p0);
        return l;
    }
};

// The binary models get s pseudo-counts centred on their present value.
void SetPrior(std::vector<Dist>& dists, double s)
{
    for (Dist& d : dists)
        if (d.binary) {
            d.a0 = s * d.p0;
            d.a1 = s * (1 - d.p0);
        }
}

double LogPrior(const std::vector<Dist>& dists)
{
    double l = 0.0;
    for (const Dist& d : dists)
        l += d.LogPrior();
    return l;
}

struct Reference {
    std::vector<std::vector<int>> mots{{0}, {1, 2}, {0, 2}, {}, {1}};
    std::map<int, double> theta{{1, 0.3}, {3, 0.2}, {4, 0.1}, {5, 0.05}};
    std::map<int, double> thetaC = theta;
    double leak = 0.01, leakC = 0.01;
    std::vector<Dist> dists{{true, 0.9, 0, 0}, {true, 0.3, 0, 0}, {false, 0, 0, 1}, {false, 0, 2, 1.5}};
    std::map<int, std::vector<Ob>> obs; // by pair index, in file order
    double aPos = 0.5, aNeg = 2 * 0.5, aAll = 1.0 + 0.5;
    // DDI evidence with one shared state per motif pair: the lists by motif
    // pair index, their models, and whether a round uses them.
    std::map<int, std::vector<Ob>> ddi;
    std::vector<Dist> ddiDists;
    bool shared = false;
    bool noisePrior = false;

    Reference()
    {
        std::istringstream in(kObs);
        int a, b;
        Ob o;
        while (in >> a >> b >> o.val >> o.id[0] >> o.id[1])
            obs[PairIndex(a, b)].push_back(o);
    }
    double P(int h, const std::vector<Ob>& list) const { return P(h, list, dists); }
    static double P(int h, const std::vector<Ob>& list, const std::vector<Dist>& ds)
    {
        double p = 1.0;
        for (const auto& o : list)
            p *= ds[o.id[h]].Prob(o.val);
        return p;
    }
    // P(no interaction): one leak variable and every active motif combination.
    double Q(const std::map<int, double>& th, double lk, int i, int j) const
    {
        double q = 1 - lk;
        for (int m1 : mots[i])
            for (int m2 : mots[j])
                if (th.count(PairIndex(m1, m2)))
                    q = q * (1 - th.at(PairIndex(m1, m2)));
        return q;
    }
    void Round()
    {
        std::map<int, int> count;
        std::map<int, double> ratio;
        double leakRatio = 0.0;
        int leakCount = 0;
        std::vector<std::vector<std::pair<double, double>>> stats(dists.size());
        for (const auto& [k, list] : obs) {
            const auto [i, j] = PairRevIndex64(k);
            const double p0 = P(0, list), p1 = P(1, list), q = Q(thetaC, leakC, i, j);
            const double r = p1 / ((1 - q) * p1 + q * p0);
            const double w = (1 - q) * r; // posterior of interaction
            for (const auto& o : list) {
                stats[o.id[0]].push_back({1 - w, o.val});
                stats[o.id[1]].push_back({w, o.val});
            }
            leakRatio += r;
            leakCount += 1;
            for (int m1 : mots[i])
                for (int m2 : mots[j])
                    if (thetaC.count(PairIndex(m1, m2))) {
                        count[PairIndex(m1, m2)] += 1;
                        ratio[PairIndex(m1, m2)] += r;
                    }
        }
        std::vector<std::vector<std::pair<double, double>>> ddiStats(ddiDists.size());
        for (const auto& [k, tc] : thetaC) {
            const auto d = ddi.find(k);
            if (!shared || d == ddi.end()) {
                theta[k] = (tc * ratio[k] + aPos) / (count[k] + aAll);
                continue;
            }
            // The motif pair's state: one more expected count, and one
            // weighted copy of its list for the DDI models.
            const double p0 = P(0, d->second, ddiDists), p1 = P(1, d->second, ddiDists);
            const double z = tc * p1 / ((1 - tc) * p0 + tc * p1);
            for (const auto& o : d->second) {
                ddiStats[o.id[0]].push_back({1 - z, o.val});
                ddiStats[o.id[1]].push_back({z, o.val});
            }
            theta[k] = (tc * ratio[k] + z + aPos) / (count[k] + 1.0 + aAll);
        }
        leak = (leakC * leakRatio + aPos) / (leakCount + aAll);
        for (std::size_t m = 0; m < dists.size(); ++m)
            dists[m].Learn(stats[m]);
        for (std::size_t m = 0; m < ddiDists.size(); ++m)
            if (!ddiStats[m].empty())
                ddiDists[m].Learn(ddiStats[m]);
        if (shared) {
            thetaC = theta;
        } else {
            // Conditioning without DDI evidence: P0 = P1 = 1.
            for (auto& [k, tc] : thetaC)
                tc = theta[k] * 1.0 / ((1 - theta[k]) * 1.0 + theta[k] * 1.0);
        }
        leakC = leak;
    }
    double LogJoint() const
    {
        double l = 0.0;
        for (const auto& [k, list] : obs) {
            const auto [i, j] = PairRevIndex64(k);
            const double q = Q(thetaC, leakC, i, j);
            l += std::log((1 - q) * P(1, list) + q * P(0, list));
        }
        // Each list once, in motif pair order.
        if (shared)
            for (const auto& [k, list] : ddi)
                l += std::log((1 - theta.at(k)) * P(0, list, ddiDists) + theta.at(k) * P(1, list, ddiDists));
        for (const auto& [k, t] : theta)
            l += aNeg * std::log(1 - t) + aPos * std::log(t);
        l += aNeg * std::log(1 - leak) + aPos * std::log(leak);
        if (noisePrior) {
            l += LogPrior(dists);
            if (shared)
                l += LogPrior(ddiDists);
        }
        return l;
    }
    int RunEM(std::string& lines)
    {
        double prev = LogJoint();
        lines += "*** Start of EM, before round 0. Log joint:\t" + G15(prev) + "\n";
        for (int t = 0; t < 100000; ++t) {
            Round();
            if (t % 3 == 2) {
                const double l = LogJoint();
                lines += "*** (After EM round, Log joint):\t" + std::to_string(t) + "\t" + G15(l) + "\n";
                if (l < prev + 0.01)
                    return t + 1;
                prev = l;
            }
        }
        return -1;
    }
    std::string Potentials(const std::string& banner, const std::map<int, double>& th, double lk) const
    {
        std::string s = banner + "\n***s Motif pair affinity:\n";
        for (const auto& [k, t] : th) {
            const auto [i, j] = PairRevIndex64(k);
            s += std::to_string(i) + "\t" + std::to_string(j) + "\t" + G15(t) + "\n";
        }
        return s + "***e Motif pair affinity.\n*** Total # motif pairs:\t" + std::to_string(th.size()) +
               "\n*** Leak probability:\t" + G15(lk) + "\n";
    }
    std::string PairSection() const
    {
        std::ostringstream out;
        out << "***s Predicted non-interaction probability for protein pairs:\t(1st, 2nd, prob w/o evidence, "
               "prob w/ evidence/H)\n";
        std::istringstream in(kPairs);
        int a, b;
        while (in >> a >> b) {
            const auto [i, j] = PairRevIndex64(PairIndex(a, b));
            const double qc = Q(thetaC, leakC, i, j);
            out << i << "\t" << j << "\t" << Q(theta, leak, i, j) << "," << qc << "\t";
            const auto it = obs.find(PairIndex(i, j));
            if (it == obs.end())
                out << "H\n";
            else
                out << qc * P(0, it->second) / ((1 - qc) * P(1, it->second) + qc * P(0, it->second)) << "\n";
        }
        out << "***e Predicted non-interaction probability for protein pairs.\n";
        return out.str();
    }
    std::string BindSection() const
    {
        std::ostringstream out;
        out << "***s Binding variable:\t(1st prot, 2nd prot, 1st mot, 2nd mot, mot affinity, P(B=1) w/ "
               "evidence/H)\n";
        std::istringstream in(kBinds);
        int a, b;
        while (in >> a >> b) {
            const auto [i, j] = PairRevIndex64(PairIndex(a, b));
            const auto it = obs.find(PairIndex(i, j));
            double r = 0.0;
            if (it != obs.end()) {
                const double qc = Q(thetaC, leakC, i, j), p0 = P(0, it->second), p1 = P(1, it->second);
                r = p1 / ((1 - qc) * p1 + qc * p0);
            }
            for (int m1 : mots[i])
                for (int m2 : mots[j]) {
                    const int k = PairIndex(m1, m2);
                    if (!thetaC.count(k))
                        continue;
                    out << i << "\t" << j << "\t" << m1 << "\t" << m2 << "\t" << theta.at(k) << ","
                        << thetaC.at(k) << "\t";
                    if (it == obs.end())
                        out << "H\n";
                    else
                        out << thetaC.at(k) * r << "\n";
                }
        }
        out << "***e Binding variable.\n";
        return out.str();
    }
};

testutil::RunResult Train(const testutil::TempDir& d, const std::string& perType, const std::string& binds)
{
    d.Write("obs", kObs);
    d.Write("models", kModels);
    d.Write("pmc", kProtMot);
    d.Write("act", kActive);
    d.Write("inact", "");
    d.Write("wait", "");
    d.Write("pairs", kPairs);
    d.Write("binds", binds);
    d.Write("len", "0 50\n1 60\n2 40\n3 30\n4 45\n");
    d.Write("cov", "0 5\n1 10\n2 8\n3 0\n4 7\n");
    return testutil::RunMotifbind({"-f", "5", "3", "-l", "0", "-n", "2", "-p", perType, "obs", "models", "pmc",
                                   "act", "inact", "wait", "log", "pred", "pairs", "binds", "0.5", "len", "10",
                                   "cov"},
                                  d.Path());
}

} // namespace

TEST(TrainingRun, MatchesReferenceComputation)
{
    testutil::TempDir d;
    const auto run = Train(d, "4", kBinds);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string log = testutil::ReadFile(d.File("log"));

    // The three phases: EM, one round bringing in the (empty) DDI model, EM.
    Reference ref;
    std::string lines;
    int rounds = ref.RunEM(lines);
    lines += "*** Total # EM round and joint prob:\t" + std::to_string(rounds) + "\t" + G15(ref.LogJoint()) + "\n";
    ref.Round();
    lines += "*** Joint prob:\t" + G15(ref.LogJoint()) + "\n";
    rounds = ref.RunEM(lines);
    lines += "*** Total # EM round and joint prob:\t" + std::to_string(rounds) + "\t" + G15(ref.LogJoint()) + "\n";
    lines += "Joint prob before perturbation:\t" + G15(ref.LogJoint()) + "\n";

    std::string got;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        for (const char* p : {"*** Start of EM", "*** (After EM round", "*** Total # EM round", "*** Joint prob:",
                              "Joint prob before perturbation:"})
            if (line.rfind(p, 0) == 0)
                got += line + "\n";
    }
    EXPECT_EQ(got, lines);

    // The potentials after the last phase, learned and conditioned.
    const std::string banner = "****** Potential without conditioning ******";
    const std::string potentials = ref.Potentials(banner, ref.theta, ref.leak) +
                                   ref.Potentials("***** Potential conditioned on DDi data *****", ref.thetaC,
                                                  ref.leakC);
    const auto pos = log.rfind(banner);
    ASSERT_NE(pos, std::string::npos);
    EXPECT_EQ(log.substr(pos, potentials.size()), potentials);

    EXPECT_EQ(testutil::ReadFile(d.File("pred")), ref.PairSection() + ref.BindSection() + "*** End of file.\n");
}

TEST(TrainingRun, NoBindingSectionWithTypePerturbation)
{
    // With -p 2 the binding list names motif pairs for the analysis and the
    // prediction file has no binding-variable section.
    testutil::TempDir d;
    const auto run = Train(d, "2", "1 0\n");
    ASSERT_EQ(run.status, 0) << run.err;
    Reference ref;
    std::string ignored;
    ref.RunEM(ignored);
    ref.Round();
    ref.RunEM(ignored);
    EXPECT_EQ(testutil::ReadFile(d.File("pred")), ref.PairSection() + "*** End of file.\n");
}

TEST(TrainingRun, SharedStateAndNoisePriorMatchReferenceComputation)
{
    // The same data with DDI lists on three motif pairs, learned through one
    // shared state per motif pair (-e 1), and 5 pseudo-counts on every binary
    // model (-b 5). Motif pair (2,1) sits on no observed protein pair: its
    // list still observes its state.
    testutil::TempDir d;
    d.Write("obs", kObs);
    d.Write("models", kModels);
    d.Write("pmc", kProtMot);
    d.Write("act", kActive);
    d.Write("inact", "");
    d.Write("wait", "");
    d.Write("pairs", kPairs);
    d.Write("binds", kBinds);
    d.Write("len", "0 50\n1 60\n2 40\n3 30\n4 45\n");
    d.Write("cov", "0 5\n1 10\n2 8\n3 0\n4 7\n");
    d.Write("ddi", "1 0 1 0 1\n2 2 0 0 1\n1 2 1 0 1\n1 2 0 0 1\n");
    d.Write("ddimodels", "0 OM_BINARY 0.9\n1 OM_BINARY 0.4\n");
    d.Write("ddiopt", "");
    const auto run = testutil::RunMotifbind({"-e", "1", "-b", "5", "-d", "ddi", "ddimodels", "ddiopt", "-f", "5", "3",
                                             "-l", "0", "-n", "2", "-p", "4", "obs", "models", "pmc", "act", "inact",
                                             "wait", "log", "pred", "pairs", "binds", "0.5", "len", "10", "cov"},
                                            d.Path());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string log = testutil::ReadFile(d.File("log"));

    Reference ref;
    ref.ddi[PairIndex(1, 0)] = {{1.0, {0, 1}}};
    ref.ddi[PairIndex(2, 2)] = {{0.0, {0, 1}}};
    ref.ddi[PairIndex(1, 2)] = {{1.0, {0, 1}}, {0.0, {0, 1}}};
    ref.ddiDists = {{true, 0.9, 0, 0}, {true, 0.4, 0, 0}};
    SetPrior(ref.dists, 5);
    SetPrior(ref.ddiDists, 5);
    ref.noisePrior = true;
    std::string lines;
    int rounds = ref.RunEM(lines);
    lines += "*** Total # EM round and joint prob:\t" + std::to_string(rounds) + "\t" + G15(ref.LogJoint()) + "\n";
    // From the DDI phase on, inference uses the affinities themselves.
    ref.shared = true;
    ref.thetaC = ref.theta;
    ref.Round();
    lines += "*** Joint prob:\t" + G15(ref.LogJoint()) + "\n";
    rounds = ref.RunEM(lines);
    lines += "*** Total # EM round and joint prob:\t" + std::to_string(rounds) + "\t" + G15(ref.LogJoint()) + "\n";
    lines += "Joint prob before perturbation:\t" + G15(ref.LogJoint()) + "\n";

    std::string got;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        for (const char* p : {"*** Start of EM", "*** (After EM round", "*** Total # EM round", "*** Joint prob:",
                              "Joint prob before perturbation:"})
            if (line.rfind(p, 0) == 0)
                got += line + "\n";
    }
    EXPECT_EQ(got, lines);

    // Both potential sections hold the learned affinities, and the DDI
    // models end where the reference's do, strictly inside (0, 1).
    const std::string banner = "****** Potential without conditioning ******";
    const std::string tail =
        ref.Potentials(banner, ref.theta, ref.leak) +
        ref.Potentials("***** Potential conditioned on DDi data *****", ref.theta, ref.leak);
    const auto pos = log.rfind(banner);
    ASSERT_NE(pos, std::string::npos);
    EXPECT_EQ(log.substr(pos, tail.size()), tail);
    const std::string ddiModels = "****** DDI observatoin model ******\n*** # models:\t2\n"
                                  "***s Model info (stat size, ID, type, (param)+):\n0\t0\tOM_BINARY\t" +
                                  G15(ref.ddiDists[0].p0) + "\n0\t1\tOM_BINARY\t" + G15(ref.ddiDists[1].p0) +
                                  "\n***e Model info.\n";
    EXPECT_NE(log.find(ddiModels, pos), std::string::npos) << ddiModels;
    for (const Dist& dist : ref.ddiDists) {
        EXPECT_GT(dist.p0, 0.01);
        EXPECT_LT(dist.p0, 0.99);
    }

    EXPECT_EQ(testutil::ReadFile(d.File("pred")), ref.PairSection() + ref.BindSection() + "*** End of file.\n");
}
