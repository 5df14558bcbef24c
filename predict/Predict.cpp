#include "predict/Predict.h"

#include <iostream>
#include <tuple>

#include "infer/Likelihood.h"
#include "io/RecordReader.h"

namespace {

// Reads the next protein pair that lies in range, warning about (and
// skipping) a pair with an id outside [0, number of proteins). The pair comes
// back with the larger id first. Like every input, a list stops with a
// warning at the first record that is not two integers.
bool NextPair(RecordReader& r, const ProtMot& pm, const ProtInter& pi, int& i, int& j)
{
    while (r.Start()) {
        int a = 0, b = 0;
        if (!(r.Get(a) && r.Get(b))) {
            r.WarnStop();
            return false;
        }
        const int n = pm.GetNumProt();
        if (a < 0 || a >= n || b < 0 || b >= n) {
            std::cerr << "Warning: " << r.Name() << ": protein pair " << a << " " << b
                      << " has an id outside [0, " << n << "); nothing is predicted for it" << std::endl;
            continue;
        }
        std::tie(i, j) = pi.RevIndex(ProtInter::Index(a, b));
        return true;
    }
    return false;
}

} // namespace

void PredictProtInter(std::istream& predpairFile, std::ostream& predictFile, const ProtMot& pm, const ProtInter& pi,
                      const MotInterPot& mip, const MotInterPot& micp, const ObsModel& om)
{
    predictFile << "***s Predicted non-interaction probability for protein pairs:\t(1st, 2nd, prob w/o evidence, "
                   "prob w/ evidence/H)"
                << std::endl;
    RecordReader list(predpairFile);
    int i = 0, j = 0;
    while (NextPair(list, pm, pi, i, j)) {
        const double qc = AlNonInterProb(pm, micp, i, j);
        const double qw = AlNonInterProb(pm, mip, i, j);
        predictFile << i << "\t" << j << "\t" << qw << "," << qc << "\t";
        const auto it = pi.GetInter(i, j);
        if (it != pi.GetInterEnd()) {
            const double p0 = om.GetProb(0, it->second);
            const double p1 = om.GetProb(1, it->second);
            predictFile << qc * p0 / ((1 - qc) * p1 + qc * p0);
        } else {
            predictFile << "H";
        }
        predictFile << std::endl;
    }
    predictFile << "***e Predicted non-interaction probability for protein pairs." << std::endl;
}

void PredictBinding(std::istream& predbindFile, std::ostream& predictFile, const ProtMot& pm,
                    const MotInterPot& mip, const MotInterPot& micp, const ProtInter& pi, const ObsModel& om)
{
    predictFile << "***s Binding variable:\t(1st prot, 2nd prot, 1st mot, 2nd mot, mot affinity, P(B=1) w/ "
                   "evidence/H)"
                << std::endl;
    int i = 0, j = 0;
    const auto& act = micp.GetActPair();
    RecordReader list(predbindFile);
    while (NextPair(list, pm, pi, i, j)) {
        const auto it = pi.GetInter(i, j);
        const bool observed = it != pi.GetInterEnd();
        double r = 0.0;
        if (observed) {
            const double p0 = om.GetProb(0, it->second);
            const double p1 = om.GetProb(1, it->second);
            const double qc = AlNonInterProb(pm, micp, i, j);
            r = p1 / ((1 - qc) * p1 + qc * p0);
        }
        for (const auto& [m1, l1] : pm.GetMots(i)) {
            for (const auto& [m2, l2] : pm.GetMots(j)) {
                if (pm.IsNonBind(i, j, m1, m2))
                    continue;
                const int k = MotInterPot::Index(m1, m2);
                const auto c = act.find(k);
                if (c == act.end())
                    continue;
                const auto w = mip.GetActPair().find(k);
                predictFile << i << "\t" << j << "\t" << m1 << "\t" << m2 << "\t"
                            << (w == mip.GetActPair().end() ? c->second : w->second) << "," << c->second;
                if (observed)
                    predictFile << "\t" << c->second * r;
                else
                    predictFile << "\tH";
                predictFile << std::endl;
            }
        }
    }
    predictFile << "***e Binding variable." << std::endl;
}
