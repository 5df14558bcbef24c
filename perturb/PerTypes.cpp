#include "perturb/Perturb.h"

#include <iostream>

#include "io/FileOpen.h"
#include "model/Globals.h"
#include "perturb/WorkCopy.h"

namespace {

void Cycle(TrainedModel& t, std::ostream& sink, int mot1, int mot2, double jprob)
{
    std::ostream& out = t.outFile;
    WorkCopy w(t);
    const int index = MotInterPot::Index(mot1, mot2);
    w.mip.DelPotIndex(index);
    w.micp.DelPotIndex(index);
    const double lF = w.LogJoint(0);
    out << "*** Likelihood change after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):\t"
        << mot1 << "\t" << mot2 << "\t" << lF - jprob << std::endl;
    const double posF = w.LogJoint(1);
    out << "*** Positive likelihood after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):\t"
        << mot1 << "\t" << mot2 << "\t" << posF << std::endl;
    const int rounds = w.Reconverge(sink);
    out << "*** Total # EM round (Mot1, Mot2, EM):\t" << mot1 << "\t" << mot2 << "\t" << rounds << std::endl;
    const double lR = w.LogJoint(0);
    out << "*** Likelihood change after reconverge (Mot1, Mot2, Prob):\t" << mot1 << "\t" << mot2 << "\t"
        << lR - jprob << std::endl;
    const double posR = w.LogJoint(1);
    out << "*** Positive likelihood after reconverge (Mot1, Mot2, Prob):\t" << mot1 << "\t" << mot2 << "\t" << posR
        << std::endl;
}

} // namespace

void PerTypes(ProtMot& pm, const ProtInter& pi, const MotInterPot& mip, const MotInterPot& micp, ObsModel& om,
              ObsModel& dm, const ProtInter& di, std::ostream& outFile, std::istream& predbindFile, double jprob,
              int pertSize)
{
    TrainedModel t{pm, pi, mip, micp, om, dm, di, outFile};
    EmSink sink;
    int mot1 = 0, mot2 = 0;
    while (predbindFile >> mot1 >> mot2) {
        if (pertSize != -1 && (mot1 >= pertSize || mot2 >= pertSize))
            continue;
        const int n = pm.GetNumMot();
        if (mot1 < 0 || mot1 >= n || mot2 < 0 || mot2 >= n) {
            // An id outside the motif range would alias another pair's index.
            std::cerr << "Warning: " << StreamName(predbindFile) << ": motif pair " << mot1 << " " << mot2
                      << " has an id outside [0, " << n << "); it is not perturbed" << std::endl;
            continue;
        }
        Cycle(t, sink.out, mot1, mot2, jprob);
    }
    g_curjProbChange = 1;
}
