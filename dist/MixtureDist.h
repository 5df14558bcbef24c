#pragma once

#include <vector>

#include "dist/Distribution.h"

// A weighted sum of component distributions (of any kind, mixtures too). It
// learns its weights and components by an inner EM of its own and reports
// the progress on the stream Learn is given.
class MixtureDist : public Distribution {
public:
    // Reads m, s and then s times a weight and a component, whose mixtures
    // may nest `depthLeft` levels deep. A component whose type word names no
    // kind, or that nests deeper, makes the mixture invalid (see BadWord and
    // TooDeep) and ends the reading there.
    MixtureDist(std::istream& modelFile, int depthLeft);
    MixtureDist(const MixtureDist& other);
    MixtureDist& operator=(const MixtureDist&) = delete;

    double GetProb(double val) const override;
    void GetProbs(const double* vals, double* out, std::size_t n) const override;
    void Learn(const StatList& ss, std::ostream& log) override;
    bool Assert(double val) const override;
    void Print(std::ostream& out, int sep) const override;
    std::unique_ptr<Distribution> Duplicate() const override;

    // The unknown component type word, empty when every component was read.
    const std::string& BadWord() const { return badWord; }
    bool TooDeep() const { return tooDeep; }
    const std::vector<double>& GetWeights() const { return weights; }
    const Distribution& GetDist(std::size_t i) const { return *dists[i]; }

private:
    int maxIter = 0;
    std::vector<double> weights;
    std::vector<std::unique_ptr<Distribution>> dists;
    std::string badWord;
    bool tooDeep = false;
};
