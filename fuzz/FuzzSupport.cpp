#include "FuzzSupport.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <sstream>
#include <streambuf>

#include "dist/MixtureDist.h"
#include "app/Stages.h"
#include "infer/Likelihood.h"

namespace fuzz {

Inputs DefaultInputs()
{
    Inputs in;
    in.obs =
        "1 0 1 0 1\n1 0 2.5 2 3\n2 1 0 0 1\n2 1 0.4 2 3\n3 0 1 0 1\n3 2 3.1 2 3\n3 3 1 0 1\n"
        "4 2 0 0 1\n4 3 1.8 2 3\n4 4 0.2 2 3\n5 1 1 -1 -1\n6 0 0 -1 -1\n7 5 0.5 -2 -2\n7 3 2 4 5\n"
        "5 4 1 0 1\n";
    in.models =
        "0 OM_BINARY 0.9\n1 OM_BINARY 0.3\n2 OM_EXPONENTIAL -1 0 1\n3 OM_GAUSSIAN 2.5 1\n"
        "4 OM_MIXTURE 4 2\n  0.5 OM_GAUSSIAN 0 1\n  0.5 OM_GAUSSIAN 3 1\n5 OM_UNIFORM 0 10 3\n";
    in.pmc =
        "0 0 10\n1 1 12\n1 2 8\n2 0 9\n2 2 14\n3 1 11\n3 4 5\n4 0 7\n4 2 10\n5 3 12\n5 5 9\n"
        "6 5 4\n7 1 6\n7 3 8\n";
    in.active = "0 0 0.1\n1 0 0.2\n2 1 0.15\n2 2 0.1\n3 1 0.3\n4 3 0.05\n5 5 0.2\n5 2 0.1\n";
    in.lengths = "0 30\n1 40\n2 35\n3 25\n4 28\n5 50\n6 22\n7 33\n";
    in.coverage = "0 10\n1 20\n2 23\n3 11\n4 17\n5 30\n6 0\n7 12\n";
    in.ddi = "1 0 2.2 0 1\n2 1 0.3 0 1\n2 2 1.9 0 1\n0 0 -0.4 0 1\n5 5 1 0 1\n";
    in.ddiModels =
        "0 OM_MIXTURE 3 2\n  0.5 OM_GAUSSIAN 0 1\n  0.5 OM_MIXTURE 2 2\n"
        "    0.6 OM_GAUSSIAN 1 0.5\n    0.4 OM_EXPONENTIAL 6 1 1\n1 OM_GAUSSIAN 2 1\n";
    in.ddiOpt = "2 0.5 0 1 6\n";
    in.predPairs = "1 0\n2 1\n3 0\n7 7\n5 2\n6 6\n";
    in.bindPairs = "1 0\n3 3\n4 2\n7 5\n";
    return in;
}

Model::Model(const Inputs& in) : RunModel(in.numProt, in.numMot, in.leakType) {}

Settings SettingsOf(const Inputs& in)
{
    Settings s;
    s.numProt = in.numProt;
    s.numMot = in.numMot;
    s.leakType = in.leakType;
    s.leakGroup = in.leakGroup;
    s.aPos = in.aPos;
    return s;
}

std::unique_ptr<Model> ReadAll(const Inputs& in)
{
    auto m = std::make_unique<Model>(in);
    std::istringstream protLen(in.lengths), motCover(in.coverage), pmFile(in.pmc), protFile(in.obs),
        modelFile(in.models), motFile(in.active), ddiFile(in.ddi), ddmdlFile(in.ddiModels), ddioptFile(in.ddiOpt);
    ReadInputs(SettingsOf(in),
               {protLen, motCover, pmFile, protFile, modelFile, motFile, ddiFile, ddmdlFile, ddioptFile}, Null(), *m);
    return m;
}

namespace {

double Saturate(double x) { return std::min(x, 1e18); }

// The iteration bound of a mixture, the second word of its printed form.
double MaxIter(const MixtureDist& mix)
{
    std::ostringstream out;
    mix.Print(out, 0);
    std::istringstream words(out.str());
    std::string word;
    double iter = 0;
    words >> word >> iter;
    return iter > 0 ? iter : 0;
}

double Work(const Distribution& d)
{
    const auto* mix = dynamic_cast<const MixtureDist*>(&d);
    if (!mix)
        return 0;
    double inner = 1;
    for (std::size_t i = 0; i < mix->GetWeights().size(); ++i)
        inner = Saturate(inner + Work(mix->GetDist(i)));
    return Saturate(MaxIter(*mix) * inner);
}

// Every log joint the inference offers, so that each part's sum runs.
double AllParts(ParamSet& ps)
{
    double j = LogJointProb(ps, 0);
    for (const int part : {1, 2, 3})
        LogJointProb(ps, part);
    return j;
}

class NullBuf : public std::streambuf {
protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

} // namespace

double MixtureWork(const ObsModel& om)
{
    double w = 0;
    for (std::size_t i = 0; i < om.Size(); ++i)
        w = Saturate(w + Work(om.GetDist(i)));
    return w;
}

void Train(Model& m, int rounds, bool learn)
{
    TrainOptions o;
    o.maxRounds = learn ? rounds : 0;
    ProgressLine quiet(Null(), false);
    RunLogs logs{Null(), Null(), quiet};
    TrainedSet t = ::Train(m, o, logs);
    m.plan = std::move(t.plan);
    m.ps = std::move(t.ps);
    m.jprob = AllParts(*m.ps);
}

void Predict(const Model& m, const std::string& predPairs, const std::string& bindPairs, int perType)
{
    std::istringstream pairs(predPairs), binds(bindPairs);
    InText bindList;
    WritePredictions(pairs, binds, WritesBindingPredictions(AnalysisOf(perType)), m.pm, *m.ps, Null(), bindList);
}

std::ostream& Null()
{
    static NullBuf buf;
    static std::ostream out(&buf);
    return out;
}

void QuietStderr()
{
    if (!std::getenv("MOTIFBIND_FUZZ_VERBOSE"))
        std::cerr.rdbuf(Null().rdbuf());
}

std::vector<std::string> Split(const std::uint8_t* data, std::size_t size, char sep, std::size_t n)
{
    std::vector<std::string> parts(n);
    const std::string s(reinterpret_cast<const char*>(data), size);
    std::size_t from = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const std::size_t at = s.find(sep, from);
        if (at == std::string::npos) {
            parts[i] = s.substr(from);
            return parts;
        }
        parts[i] = s.substr(from, at - from);
        from = at + 1;
    }
    parts[n - 1] = s.substr(std::min(from, s.size()));
    return parts;
}

} // namespace fuzz

void fuzz::ReadTrainPredict(const Inputs& in, bool learn)
{
    try {
        auto m = ReadAll(in);
        Train(*m, 2, learn);
        Predict(*m, in.predPairs, in.bindPairs, 1);
    } catch (const std::exception&) {
        // InputErr and its kin: the input was refused, as documented.
    }
}
