#include "predict/Predict.h"

#include <iostream>
#include <algorithm>
#include <vector>

#include "format/PredictionLabels.h"
#include "infer/PairKernel.h"
#include "io/RecordReader.h"
#include "predict/OutText.h"

namespace {

// Reads the next protein pair that lies in range, warning about (and
// skipping) a pair with an id outside [0, number of proteins). The pair comes
// back with the larger id first. Like every input, a list stops with a
// warning at the first record that is not two integers.
bool NextPair(RecordReader& r, const ProtMot& pm, int& i, int& j)
{
    while (r.Start()) {
        int a = 0, b = 0;
        if (!(r.GetInt(a) && r.GetInt(b))) {
            r.WarnStop();
            return false;
        }
        const int n = pm.GetNumProt();
        if (a < 0 || a >= n || b < 0 || b >= n) {
            std::cerr << "Warning: " << r.Name() << ": protein pair " << a << " " << b << " has an id outside [0, " << n
                      << "); nothing is predicted for it" << std::endl;
            continue;
        }
        // What ProtInter::RevIndex(ProtInter::Index(a, b)) gives for ids in
        // range.
        i = std::max(a, b);
        j = std::min(a, b);
        return true;
    }
    return false;
}

// (1 - leak)^n for the leak counts that pairs commonly have.
std::vector<double> LeakPowers(double leak)
{
    std::vector<double> pw(LEAKPOWTABLE);
    for (int k = 0; k < LEAKPOWTABLE; ++k)
        pw[k] = IntPow(1 - leak, k);
    return pw;
}

// Non-interaction probabilities of one pair, without (the learned affinities
// theta and leak) and with the DDI evidence (thetaC and its leak), under the
// forced setting `nb`: two products over the same free variables, each in
// the order of the product.
class NonInter {
public:
    NonInter(const ProtMot& pm, const ParamSet& ps)
        : pm(pm), ps(ps), plan(ps.Plan()), nb(pm.GetNonBind()), powW(LeakPowers(ps.Leak())),
          powC(LeakPowers(ps.LeakC()))
    {
    }

    void Of(int i, int j, double& qw, double& qc) const
    {
        const int n = pm.NumLeak(i, j) - pm.NumNBLeak(nb, i, j);
        double w = LeakFactor(powW, ps.Leak(), n);
        double c = LeakFactor(powC, ps.LeakC(), n);
        const bool forced = nb.WithNonBind(i, j);
        plan.Combos().ForEach(i, j, [&](int m1, int m2, int s) {
            if (!plan.Live(s) || (forced && nb.IsNonBind(i, j, m1, m2)))
                return;
            w = w * (1 - ps.Theta(s));
            c = c * (1 - ps.ThetaC(s));
        });
        qw = w;
        qc = c;
    }

    const NonBind& Forced() const { return nb; }

private:
    const ProtMot& pm;
    const ParamSet& ps;
    const InferPlan& plan;
    const NonBind& nb;
    std::vector<double> powW, powC;
};

} // namespace

void PredictProtInter(std::istream& predpairFile, std::ostream& predictFile, const ProtMot& pm, const ParamSet& ps)
{
    OutText out(predictFile);
    out << predlabel::INTERACTIONS_START << "\t(1st, 2nd, prob w/o evidence, prob w/ evidence/H)\n";
    const NonInter nonInter(pm, ps);
    const InferPlan& plan = ps.Plan();
    RecordReader list(predpairFile);
    int i = 0, j = 0;
    while (NextPair(list, pm, i, j)) {
        double qw = 0.0, qc = 0.0;
        nonInter.Of(i, j, qw, qc);
        out << i << '\t' << j << '\t' << qw << ',' << qc << '\t';
        const int p = plan.PairOf(i, j);
        if (p >= 0) {
            const InterList& obs = *plan.GetPair(p).obs;
            const double p0 = ps.Om().GetProb(0, obs);
            const double p1 = ps.Om().GetProb(1, obs);
            out << qc * p0 / ((1 - qc) * p1 + qc * p0);
        } else {
            out << 'H';
        }
        out << '\n';
    }
    out << predlabel::INTERACTIONS_END << '\n';
    out.Flush();
}

void PredictBinding(std::istream& predbindFile, std::ostream& predictFile, const ProtMot& pm, const ParamSet& ps)
{
    OutText out(predictFile);
    out << predlabel::BINDINGS_START
        << "\t(1st prot, 2nd prot, 1st mot, 2nd mot, mot affinity, P(B=1) w/ evidence/H)\n";
    const NonInter nonInter(pm, ps);
    const NonBind& nb = nonInter.Forced();
    const InferPlan& plan = ps.Plan();
    RecordReader list(predbindFile);
    int i = 0, j = 0;
    while (NextPair(list, pm, i, j)) {
        const int p = plan.PairOf(i, j);
        double r = 0.0;
        if (p >= 0) {
            const InterList& obs = *plan.GetPair(p).obs;
            const double p0 = ps.Om().GetProb(0, obs);
            const double p1 = ps.Om().GetProb(1, obs);
            double qw = 0.0, qc = 0.0;
            nonInter.Of(i, j, qw, qc);
            r = p1 / ((1 - qc) * p1 + qc * p0);
        }
        const bool forced = nb.WithNonBind(i, j);
        plan.Combos().ForEach(i, j, [&](int m1, int m2, int s) {
            if (!plan.Live(s) || (forced && nb.IsNonBind(i, j, m1, m2)))
                return;
            out << i << '\t' << j << '\t' << m1 << '\t' << m2 << '\t' << ps.Theta(s) << ',' << ps.ThetaC(s);
            if (p >= 0)
                out << '\t' << ps.ThetaC(s) * r;
            else
                out << "\tH";
            out << '\n';
        });
    }
    out << predlabel::BINDINGS_END << '\n';
    out.Flush();
}
