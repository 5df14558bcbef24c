#pragma once

#include <map>
#include <ostream>
#include <utility>
#include <vector>

#include "format/PairIndex.h"

class ProtMot;

// One noisy observation of a pair: the observed value and the model IDs that
// apply when the pair's actual value is 0 and when it is 1 (-1: the value
// equals the actual value; -2: uniform over [0, 1]).
struct interdatum {
    double val;
    int modelId0;
    int modelId1;

    int ModelId(int actual) const { return actual == 0 ? modelId0 : modelId1; }
};

using InterList = std::vector<interdatum>;

// Whether some observation of the list has model ID *id for actual value 0;
// when `val` is given it receives the value of the last such observation.
bool GetObsVal(const InterList& obsvals, const int* id, double* val);

// The noisy observations of unordered pairs (of proteins, or of motifs for
// the domain-domain evidence), keyed by pair index. It only grows.
class ProtInter {
public:
    using InterMap = std::map<int, InterList>;

    explicit ProtInter(int np) : numProt(np) {}

    static int Index(int prot1, int prot2) { return PairIndex(prot1, prot2); }
    std::pair<int, int> RevIndex(int ind) const { return PairRevIndex(ind, numProt); }

    void AddInter(int prot1, int prot2, double val, int modelid0, int modelid1);
    bool IsInter(int prot1, int prot2) const { return inter.count(Index(prot1, prot2)) != 0; }
    InterMap::const_iterator GetInter(int prot1, int prot2) const { return inter.find(Index(prot1, prot2)); }
    InterMap::const_iterator GetInterEnd() const { return inter.end(); }
    const InterMap& GetAllInter() const { return inter; }
    // Whether the pair has an observation whose model ID for actual value 0 is
    // *id; the value of the last such observation goes to *val when given.
    bool GetInterVal(int prot1, int prot2, const int* id, double* val) const;
    int GetNumProt() const { return numProt; }

    void Print(const ProtMot& pm, std::ostream& outFile) const;

private:
    int numProt;
    InterMap inter;
};
