#include "perturb/Perturb.h"

#include "model/Globals.h"
#include "perturb/WorkCopy.h"

namespace {

void Cycle(TrainedModel& t, std::ostream& sink, int prot1, int mot1, int prot2, int mot2, double jprob)
{
    std::ostream& out = t.outFile;
    t.pm.SetNonBind(prot1, prot2, mot1, mot2);
    WorkCopy w(t);
    const double pF = w.NonInter(prot1, prot2);
    out << "*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, "
           "Mot1, Prot2, Mot2, Prob):\t"
        << prot1 << "\t" << mot1 << "\t" << prot2 << "\t" << mot2 << "\t" << pF << std::endl;
    const double lF = w.LogJoint(0);
    out << "*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, "
           "Prot2, Mot2, Prob):\t"
        << prot1 << "\t" << mot1 << "\t" << prot2 << "\t" << mot2 << "\t" << lF - jprob << std::endl;
    const int rounds = w.Reconverge(sink);
    out << "*** Total # EM round (Prot1, Mot1, Prot2, Mot2, EM):\t" << prot1 << "\t" << mot1 << "\t" << prot2 << "\t"
        << mot2 << "\t" << rounds << std::endl;
    const double pR = w.NonInter(prot1, prot2);
    out << "*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Mot2, Prob):\t" << prot1 << "\t"
        << mot1 << "\t" << prot2 << "\t" << mot2 << "\t" << pR << std::endl;
    const double lR = w.LogJoint(0);
    out << "*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Mot2, Prob):\t" << prot1 << "\t" << mot1
        << "\t" << prot2 << "\t" << mot2 << "\t" << lR - jprob << std::endl;
}

} // namespace

void PertMot2(ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp, ObsModel& om,
              ObsModel& dm, const ProtInter& di, std::ostream& outFile, std::istream& predbindFile, double jprob,
              int pertSize)
{
    TrainedModel t{pm, pi, mip, micp, om, dm, di, outFile};
    EmSink sink;
    int prot1 = 0, prot2 = 0;
    while (predbindFile >> prot1 >> prot2) {
        if (!ObservedPair(t, prot1, prot2))
            continue;
        for (const auto& [mot1, l1] : pm.GetMots(prot1)) {
            for (const auto& [mot2, l2] : pm.GetMots(prot2)) {
                if (pertSize != -1 && (mot1 >= pertSize || mot2 >= pertSize))
                    continue;
                Cycle(t, sink.out, prot1, mot1, prot2, mot2, jprob);
            }
        }
    }
    pm.UnsetNonBind();
    g_curjProbChange = 1;
}
