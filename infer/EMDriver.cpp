#include "infer/EMDriver.h"

#include <cmath>

#include "infer/EMRound.h"
#include "infer/Likelihood.h"

int RunEM(ParamSet& ps, std::ostream& outFile, std::ostream& mixLog, int checkEvery, const CheckWatch& watch)
{
    double lprev = LogJointProb(ps, 0);
    outFile << "*** Start of EM, before round 0. Log joint:\t" << lprev << std::endl;
    for (int t = 0;; ++t) {
        EMStep(ps, mixLog);
        if (t % checkEvery == checkEvery - 1) {
            const double l = LogJointProb(ps, 0);
            outFile << "*** (After EM round, Log joint):\t" << t << "\t" << l << std::endl;
            if (watch)
                watch(t + 1, l);
            // A log joint that is not finite can never show an improvement.
            if (!std::isfinite(l) || l < lprev + IMPROVETHRESH)
                return t + 1;
            lprev = l;
        }
    }
}
