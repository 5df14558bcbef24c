#include "perturb/Perturb.h"

#include <algorithm>

#include "model/Globals.h"
#include "perturb/WorkCopy.h"

namespace {

void Cycle(TrainedModel& t, std::ostream& sink, int prot1, int mot1, int prot2, double jprob)
{
    std::ostream& out = t.outFile;
    t.pm.SetNonBind(prot1, prot2, mot1, -1);
    const int nl = t.pm.NumLeak(prot1, prot2);
    const int nb = t.pm.NumNBLeak(prot1, prot2);
    out << "*** SetNonBind (prot1, mot1, prob2, numLeak, numNBLeak, numActLeak):\t" << prot1 << "\t" << mot1 << "\t"
        << prot2 << "\t" << nl << "\t" << nb << "\t" << nl - nb << std::endl;
    WorkCopy w(t);
    const double pF = w.NonInter(prot1, prot2);
    out << "*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, "
           "Mot1, Prot2, Prob):\t"
        << prot1 << "\t" << mot1 << "\t" << prot2 << "\t" << pF << std::endl;
    const double lF = w.LogJoint(0);
    out << "*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, "
           "Prot2, Prob):\t"
        << prot1 << "\t" << mot1 << "\t" << prot2 << "\t" << lF - jprob << std::endl;
    const int rounds = w.Reconverge(sink);
    out << "*** Total # EM round (Prot1, Mot1, Prot2, EM):\t" << prot1 << "\t" << mot1 << "\t" << prot2 << "\t"
        << rounds << std::endl;
    const double pR = w.NonInter(prot1, prot2);
    out << "*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Prob):\t" << prot1 << "\t" << mot1
        << "\t" << prot2 << "\t" << pR << std::endl;
    const double lR = w.LogJoint(0);
    out << "*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Prob):\t" << prot1 << "\t" << mot1 << "\t"
        << prot2 << "\t" << lR - jprob << std::endl;
}

} // namespace

void PertPair(ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp, ObsModel& om,
              ObsModel& dm, const ProtInter& di, std::ostream& outFile, std::istream& predbindFile, double jprob,
              int pertSize)
{
    TrainedModel t{pm, pi, mip, micp, om, dm, di, outFile};
    EmSink sink;
    int a = 0, b = 0;
    while (predbindFile >> a >> b) {
        if (!ObservedPair(t, a, b))
            continue;
        const int hi = std::max(a, b), lo = std::min(a, b);
        const int order[2][2] = {{hi, lo}, {lo, hi}};
        for (const auto& [prot1, prot2] : order) {
            for (const auto& [mot1, len] : pm.GetMots(prot1)) {
                if (pertSize != -1 && mot1 >= pertSize)
                    continue;
                Cycle(t, sink.out, prot1, mot1, prot2, jprob);
            }
        }
    }
    pm.UnsetNonBind();
    g_curjProbChange = 1;
}
