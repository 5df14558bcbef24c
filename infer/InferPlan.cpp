#include "infer/InferPlan.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "dist/Tolerances.h"
#include "infer/Likelihood.h"

namespace {

// Counts, by model ID, the values a list hands to the statistics when both
// of its actual values get a weight.
void CountStats(const InterList& obs, std::vector<std::size_t>& counts)
{
    for (const auto& d : obs) {
        for (int a = 0; a < 2; ++a) {
            const int id = d.ModelId(a);
            if (id < 0)
                continue;
            if (std::size_t(id) >= counts.size())
                counts.resize(std::size_t(id) + 1, 0);
            ++counts[id];
        }
    }
}

// The values of one model met most recently, so that a value that recurs
// (the 0 or 1 of a binary observation) shares one cell. A value it misses
// gets a cell of its own, which is only evaluated once more: the cache is
// small and fixed, and as deterministic as the order of the observations.
class ValueCache {
public:
    ValueCache() { std::fill(std::begin(cell), std::end(cell), -1); }

    // The cell of the value with these bits, or -1.
    int Find(std::uint64_t bits) const
    {
        const int at = Slot(bits);
        return cell[at] >= 0 && key[at] == bits ? cell[at] : -1;
    }
    void Put(std::uint64_t bits, int c)
    {
        const int at = Slot(bits);
        key[at] = bits;
        cell[at] = c;
    }

private:
    static constexpr int SIZE = 64;
    std::uint64_t key[SIZE] = {};
    int cell[SIZE];

    static int Slot(std::uint64_t b) { return int(((b ^ (b >> 31)) * 0x9E3779B97F4A7C15ull) >> 58); }
};

// Compiles the observations of the plan's pairs into cells; see InferPlan.
// Two passes take the same decisions: the first counts, the second places.
class CellBuilder {
public:
    explicit CellBuilder(const std::vector<InferPlan::Pair>& ps) : pairs(ps) {}

    template <typename Cells>
    void Build(Cells& oc)
    {
        std::size_t numObs = 0;
        int numModels = 0;
        for (const auto& p : pairs) {
            numObs += p.obs->size();
            for (const auto& d : *p.obs)
                numModels = std::max({numModels, d.modelId0 + 1, d.modelId1 + 1});
        }
        // Pass 1: how many cells and statistics entries each model has.
        const auto models = std::size_t(numModels);
        std::vector<int> cellCount(models, 0), entryCount(models, 0);
        Walk(numModels, [&](int, int, int id, int local, bool added, double) {
            ++entryCount[id];
            if (added)
                cellCount[id] = local + 1;
        });
        // Pass 2: the cells, grouped by model after the two constants.
        std::vector<int> cellBegin(models), entryAt(models);
        int cells = 2, entries = 0;
        for (int m = 0; m < numModels; ++m) {
            cellBegin[m] = cells;
            if (cellCount[m] > 0)
                oc.groups.push_back({m, cells, cells + cellCount[m]});
            cells += cellCount[m];
            oc.statBegin.push_back(entries);
            entryAt[m] = entries;
            entries += entryCount[m];
        }
        oc.statBegin.push_back(entries);
        oc.vals.assign(std::size_t(cells), 0.0);
        oc.vals[1] = 1.0;
        oc.statEntry.resize(std::size_t(entries));
        oc.obsPair.resize(numObs);
        for (auto& c : oc.cell)
            c.resize(numObs);
        int o = 0;
        for (int p = 0; p < int(pairs.size()); ++p) {
            for (const auto& d : *pairs[p].obs) {
                oc.obsPair[o] = p;
                for (int a = 0; a < 2; ++a) {
                    const int id = d.ModelId(a);
                    if (id == -1)
                        oc.cell[a][o] = std::fabs(d.val - a) < g_eps ? 1 : 0;
                    else if (id == -2)
                        oc.cell[a][o] = (0.0 <= d.val && d.val <= 1.0) ? 1 : 0;
                }
                ++o;
            }
        }
        Walk(numModels, [&](int obs, int a, int id, int local, bool added, double val) {
            const int c = cellBegin[id] + local;
            if (added)
                oc.vals[c] = val;
            oc.cell[a][obs] = c;
            oc.statEntry[entryAt[id]++] = unsigned(obs) * 2 + unsigned(a);
        });
    }

private:
    const std::vector<InferPlan::Pair>& pairs;

    // Calls f(o, a, id, local cell, whether the cell is new, value) for
    // every observation o of the pairs, in order, and actual value a whose
    // model ID id names a distribution.
    template <typename F>
    void Walk(int numModels, F f) const
    {
        const auto models = std::size_t(numModels);
        std::vector<ValueCache> cache(models);
        std::vector<int> next(models, 0);
        int o = 0;
        for (const auto& p : pairs) {
            for (const auto& d : *p.obs) {
                for (int a = 0; a < 2; ++a) {
                    const int id = d.ModelId(a);
                    if (id < 0)
                        continue;
                    // The same bits give the same probability under any
                    // distribution.
                    const auto bits = std::bit_cast<std::uint64_t>(d.val);
                    int local = cache[id].Find(bits);
                    const bool added = local < 0;
                    if (added) {
                        local = next[id]++;
                        cache[id].Put(bits, local);
                    }
                    f(o, a, id, local, added, d.val);
                }
                ++o;
            }
        }
    }
};

} // namespace

InferPlan::InferPlan(const ProtMot& pm, const ProtInter& pi, const MotInterPot& act, const ProtInter& di)
{
    const auto& actPair = act.GetActPair();
    const auto& ddi = di.GetAllInter();
    keys.reserve(actPair.size());
    slotDdi.reserve(actPair.size());
    for (const auto& [k, aff] : actPair) {
        keys.push_back(k);
        const auto d = ddi.find(k);
        slotDdi.push_back(d == ddi.end() ? nullptr : &d->second);
    }
    slotDdi.push_back(nullptr); // Dead()
    live.assign(keys.size(), 1);
    slotCount.assign(keys.size(), 0);
    combos = std::make_shared<const PairCombos>(pm, keys);

    const auto& all = pi.GetAllInter();
    std::vector<Pair> ps;
    ps.reserve(all.size());
    int numObs = 0;
    for (const auto& [key, obs] : all) {
        const auto [i, j] = pi.RevIndex(key);
        Pair p{i,
               j,
               &obs,
               pm.NumLeak(i, j),
               int(vars.size()),
               0,
               numObs,
               numObs + int(obs.size()),
               IsActPos(obs) != 0,
               IsActNeg(obs) != 0};
        numObs = p.obsEnd;
        combos->ForEach(i, j, [&](int, int, int s) {
            vars.push_back(s);
            ++slotCount[s];
        });
        p.end = int(vars.size());
        leakCount += p.numLeak;
        maxLeak = std::max(maxLeak, p.numLeak);
        CountStats(obs, omStatCount);
        ps.push_back(p);
    }

    auto oc = std::make_shared<ObsCells>();
    CellBuilder(ps).Build(*oc);
    obs = std::move(oc);

    // Pairs are in ascending pair index, so each row protein's pairs are
    // together and in ascending column protein.
    auto rows = std::make_shared<std::vector<int>>();
    for (int p = 0; p < int(ps.size()); ++p) {
        while (int(rows->size()) <= ps[p].prot1)
            rows->push_back(p);
    }
    rows->push_back(int(ps.size()));
    rowBegin = std::move(rows);
    pairs = std::make_shared<const std::vector<Pair>>(std::move(ps));
    auto vp = std::make_shared<std::vector<int>>(vars.size());
    for (int p = 0; p < NumPairs(); ++p)
        for (int v = GetPair(p).begin; v < GetPair(p).end; ++v)
            (*vp)[v] = p;
    varPair = std::move(vp);
    auto seq = std::make_shared<Sequence>();
    for (int p = 0; p < NumPairs(); ++p) {
        seq->pairBegin.push_back(int(seq->terms.size()));
        seq->terms.push_back(p);
        for (int v = GetPair(p).begin; v < GetPair(p).end; ++v)
            if (slotDdi[vars[v]])
                seq->terms.push_back(NumPairs() + vars[v]);
    }
    seq->pairBegin.push_back(int(seq->terms.size()));
    sumSeq = std::move(seq);
    for (const int s : vars)
        if (slotDdi[s])
            CountStats(*slotDdi[s], dmStatCount);
    // With a shared motif-level state each list is handed over once per
    // motif pair, even one on no observed protein pair.
    std::vector<std::size_t> once;
    for (int s = 0; s < NumSlots(); ++s)
        if (slotDdi[s])
            CountStats(*slotDdi[s], once);
    if (dmStatCount.size() < once.size())
        dmStatCount.resize(once.size(), 0);
    for (std::size_t i = 0; i < once.size(); ++i)
        dmStatCount[i] = std::max(dmStatCount[i], once[i]);
}

int InferPlan::SlotOf(int key) const
{
    const auto it = std::lower_bound(keys.begin(), keys.end(), key);
    if (it == keys.end() || *it != key)
        return -1;
    return int(it - keys.begin());
}

int InferPlan::PairOf(int prot1, int prot2) const
{
    const int hi = std::max(prot1, prot2), lo = std::min(prot1, prot2);
    if (lo < 0 || hi + 1 >= int(rowBegin->size()))
        return -1;
    const auto& ps = *pairs;
    // A row holds the few partners of one protein.
    const auto first = ps.begin() + (*rowBegin)[hi], last = ps.begin() + (*rowBegin)[hi + 1];
    const auto it = std::lower_bound(first, last, lo, [](const Pair& p, int j) { return p.prot2 < j; });
    if (it == last || it->prot2 != lo)
        return -1;
    return int(it - ps.begin());
}

void InferPlan::EvalCells(const ObsModel& om, double* table) const
{
    const auto& oc = *obs;
    table[0] = 0.0;
    table[1] = 1.0;
    for (const auto& g : oc.groups)
        om.GetDist(std::size_t(g.model))
            .GetProbs(oc.vals.data() + g.begin, table + g.begin, std::size_t(g.end - g.begin));
}

void InferPlan::RemoveSlot(int s)
{
    if (s < 0 || s >= NumSlots() || !live[s])
        return;
    live[s] = 0;
    slotCount[s] = 0;
    // The statistics bounds stay those of the whole plan, so that every
    // patched copy reserves the same room.
    for (int& v : vars)
        if (v == s)
            v = Dead();
}
