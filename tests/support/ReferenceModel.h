#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace testutil {

// An observation model written out from its definition: binary (P(0) =
// p0), Gaussian (mean, variance) or a mixture of Gaussians.
struct RefDist {
    enum Kind { BINARY, GAUSSIAN, MIXTURE } kind = BINARY;
    double p0 = 0.0, mean = 0.0, var = 1.0;
    std::vector<std::pair<double, RefDist>> parts; // weight, component
    // Beta pseudo-counts of a 0 and of a 1 (binary only; none when both 0).
    double a0 = 0.0, a1 = 0.0;

    static RefDist Binary(double p0);
    static RefDist Gaussian(double mean, double var);
    static RefDist Mixture(std::vector<std::pair<double, RefDist>> parts);

    double Prob(double v) const;
    // Maximum (a posteriori, with pseudo-counts) estimate from weighted values.
    void Learn(const std::vector<std::pair<double, double>>& ss);
    double LogPrior() const;
};

// Binary models get s pseudo-counts centred on their present value.
void SetPrior(std::vector<RefDist>& dists, double s);

// One observation: its value and the model ids for the non-interacting and
// the interacting state; -1 for both marks a noise-free observation.
struct RefObs {
    double val;
    int id[2];
};

// A perturbation: protein p1's motif m1 (or the single variable with motif
// m2 of p2) forced non-binding on the pair (p1, p2), and the leak variables
// forced with it.
struct RefForce {
    int p1 = -1, p2 = -1, m1 = -1, m2 = -1, nbLeak = 0;
};

// The noisy-OR model written independently of motifbind: sums in the plain
// order of the definitions, one term at a time. Pairs and motif pairs are
// keyed by PairIndex. The EM rounds assume one leak variable per pair.
struct ReferenceModel {
    std::vector<std::map<int, int>> mots; // per protein: motif -> length
    std::vector<int> len, cover;          // protein lengths and motif coverage
    int leakType = 0, leakGroup = 1;
    std::map<int, double> theta, thetaC; // affinities, unconditioned and conditioned on DDI
    double leak = 0.0, leakC = 0.0;
    std::vector<RefDist> dists, ddiDists;
    std::map<int, std::vector<RefObs>> obs; // by protein pair, in file order
    std::map<int, std::vector<RefObs>> ddi; // by motif pair, in file order
    double aPos = 1.0, aNeg = 1.0, aAll = 2.0;
    // How the DDI lists enter: not at all, one term per binding variable
    // (the joint only), or through one shared state per motif pair.
    enum DdiUse { NO_DDI, PER_VARIABLE, SHARED } ddiUse = NO_DDI;
    bool noisePrior = false; // Beta priors of the binary models in the joint

    void AddObs(int a, int b, double val, int id0, int id1);
    void AddDdi(int a, int b, double val, int id0, int id1);
    // Every affinity conditioned on its motif pair's DDI list, leak as is.
    void Condition();

    int NumLeak(int p, int q) const;
    // Leak variables between motif m1 of p1 and the uncovered residues of
    // p2, forced with the motif (leak type 1 only).
    int ForcedLeak(int p1, int p2, int m1) const;

    double P(int h, const std::vector<RefObs>& list, const std::vector<RefDist>& ds) const;
    // P(no interaction) of the pair (i, j) under `th` and `lk`.
    double Q(const std::map<int, double>& th, double lk, int i, int j, const RefForce& f = RefForce()) const;
    // Part 0: everything with the prior; part 1: the noise-free positives.
    double LogJoint(int part = 0, const RefForce& f = RefForce()) const;

    void Round();
    // EM with checks after every third round, stopping on a gain below 0.01;
    // appends the log lines and returns the rounds.
    int RunEM(std::string& lines);

    std::string Potentials(const std::string& banner, const std::map<int, double>& th, double lk) const;
    // The prediction file's sections for the pairs in `pairs` ("a b ...").
    std::string PairSection(const std::string& pairs) const;
    std::string BindSection(const std::string& pairs) const;
};

// %.15g, as motifbind writes its numbers.
std::string G15(double x);

} // namespace testutil
