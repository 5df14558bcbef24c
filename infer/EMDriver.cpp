#include "infer/EMDriver.h"

#include <cmath>

#include "infer/EMRound.h"
#include "infer/Likelihood.h"
#include "model/Globals.h"

int RunEM(const ProtMot& pm, const ProtInter& pi, MotInterPot& mip, MotInterPot& micp, ObsModel& om, ObsModel& dm,
          const ProtInter& di, std::ostream& outFile)
{
    double lprev = LogJointProb(pm, pi, mip, micp, om, dm, di, outFile, 0);
    outFile << "*** Start of EM, before round 0. Log joint:\t" << lprev << std::endl;
    for (int t = 0;; ++t) {
        EMStep(pm, mip, micp, pi, om, dm, di);
        if (t % NUMITERCHECK == NUMITERCHECK - 1) {
            const double l = LogJointProb(pm, pi, mip, micp, om, dm, di, outFile, 0);
            outFile << "*** (After EM round, Log joint):\t" << t << "\t" << l << std::endl;
            // A log joint that is not finite can never show an improvement.
            if (!std::isfinite(l) || l < lprev + IMPROVETHRESH)
                return t + 1;
            lprev = l;
        }
    }
}
