#include "io/ObsReader.h"

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>

#include "dist/Distribution.h"
#include "io/FileOpen.h"
#include "io/RecordReader.h"

namespace {

// Adds an observation whose model IDs are already positions. With potentials,
// a pair that is not an active motif pair (ids outside the motif range
// included) is dropped and not counted.
void AddTranslated(int x, int y, double val, const int id[2], ProtInter& pi, int& cnt, const MotInterPot* mip)
{
    if (mip) {
        const int n = mip->GetNumMot();
        if (x < 0 || x >= n || y < 0 || y >= n || !mip->IsAct(x, y))
            return;
    }
    pi.AddInter(x, y, val, id[0], id[1]);
    ++cnt;
}

void Translate(int id[2], const ModelIdTable& modelid)
{
    for (int a = 0; a < 2; ++a)
        if (id[a] >= 0)
            id[a] = modelid.at(id[a]);
}

std::string DefinedIds(const ModelIdTable& modelid)
{
    std::string s = "-1, -2";
    for (const auto& [id, pos] : modelid)
        s += ", " + std::to_string(id);
    return s;
}

// Every model ID an observation uses must be -1, -2 or defined by a model record.
void CheckModelIds(const RecordReader& r, const int id[2], const ModelIdTable& modelid)
{
    for (int a = 0; a < 2; ++a) {
        if (id[a] == -1 || id[a] == -2 || (id[a] >= 0 && modelid.count(id[a])))
            continue;
        throw InputErr(r.Where() + ": model ID " + std::to_string(id[a]) + " (actual value " + std::to_string(a) +
                       ") is not defined; expected one of " + DefinedIds(modelid));
    }
}

void ReadModels(ObsModel& om, RecordReader& r, ModelIdTable& modelid)
{
    int pos = 0;
    while (r.Start()) {
        int id = 0;
        if (!r.Get(id)) {
            r.WarnStop();
            return;
        }
        DistRead read = ReadDist(r.Stream());
        auto& dist = read.dist;
        if (!dist && !read.badWord.empty())
            throw InputErr(r.Where() + ": unknown observation model type '" + QuoteToken(read.badWord) +
                           "' for model ID " + std::to_string(id) + "; expected " + DIST_TOKENS);
        if (read.tooDeep)
            throw InputErr(r.Where() + ": model ID " + std::to_string(id) + " nests mixtures more than " +
                           std::to_string(MAXMIXDEPTH) + " deep; mixtures nest at most " + std::to_string(MAXMIXDEPTH) +
                           " deep");
        if (!dist || r.Failed())
            throw InputErr(r.Where() + ": model ID " + std::to_string(id) + " is cut short at " + r.TokenHere() +
                           "; expected a type word (" + DIST_TOKENS + ") and all its parameters");
        modelid[id] = pos++;
        om.AddDist(std::move(dist));
    }
}

void ReadObservations(ProtInter& pi, RecordReader& r, const ModelIdTable& modelid, const MotInterPot* mip, int& cnt)
{
    while (r.Start()) {
        int x = 0, y = 0, id[2] = {0, 0};
        double val = 0.0;
        if (!(r.Get(x) && r.Get(y) && r.Get(val) && r.Get(id[0]) && r.Get(id[1]))) {
            r.WarnStop();
            return;
        }
        if (!mip) {
            const int n = pi.GetNumProt();
            for (const int p : {x, y})
                if (p < 0 || p >= n)
                    throw InputErr(r.Where() + ": protein id " + std::to_string(p) + " is out of range; " +
                                   ExpectedIds(n));
        }
        CheckModelIds(r, id, modelid);
        AddOneInter(x, y, val, id, pi, cnt, modelid, mip);
    }
}

void ReadOptions(ProtInter& pi, RecordReader& r, const ModelIdTable& modelid, const MotInterPot& mip, int& cnt)
{
    while (r.Start()) {
        int opt = 0, id[2] = {0, 0}, bound = 0;
        double val = 0.0;
        if (!(r.Get(opt) && r.Get(val) && r.Get(id[0]) && r.Get(id[1]) && r.Get(bound))) {
            r.WarnStop();
            return;
        }
        CheckModelIds(r, id, modelid);
        Translate(id, modelid); // once per record
        if (opt == 0 || opt == 2) {
            // Self-pairs beyond the motif range are never active.
            const int last = std::min(bound, mip.GetNumMot());
            for (int i = 0; i < last; ++i)
                if (!pi.GetInterVal(i, i, &id[0], nullptr))
                    AddTranslated(i, i, val, id, pi, cnt, &mip);
        }
        if (opt == 1 || opt == 2) {
            for (const auto& [k, aff] : mip.GetActPair()) {
                const auto [a, b] = mip.RevIndex(k);
                if (a < bound && b < bound && a != b && !pi.GetInterVal(a, b, &id[0], nullptr))
                    AddTranslated(a, b, val, id, pi, cnt, &mip);
            }
        }
    }
}

} // namespace

void AddOneInter(int x, int y, double val, int id[2], ProtInter& pi, int& cnt, const ModelIdTable& modelid,
                 const MotInterPot* mip)
{
    if (mip) {
        const int n = mip->GetNumMot();
        if (x < 0 || x >= n || y < 0 || y >= n || !mip->IsAct(x, y))
            return;
    }
    Translate(id, modelid);
    AddTranslated(x, y, val, id, pi, cnt, nullptr);
}

void ReadModelPPI(ObsModel& om, ProtInter& pi, std::istream& modelFile, std::istream& protFile, std::ostream& outFile,
                  std::istream* ddioptFile, const MotInterPot* mip)
{
    ModelIdTable modelid;
    {
        RecordReader r(modelFile);
        ReadModels(om, r, modelid);
    }
    int cnt = 0;
    {
        RecordReader r(protFile);
        ReadObservations(pi, r, modelid, mip, cnt);
    }
    if (auto* f = dynamic_cast<std::ifstream*>(&protFile))
        f->close();
    if (ddioptFile && mip) {
        RecordReader r(*ddioptFile);
        ReadOptions(pi, r, modelid, *mip, cnt);
    }
    outFile << "*** # noisy observations:\t" << cnt << std::endl;
}
