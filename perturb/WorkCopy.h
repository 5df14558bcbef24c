#pragma once

#include <fstream>
#include <istream>
#include <ostream>

#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

// The trained model as the perturbation analyses see it. Each cycle works on
// a WorkCopy, so nothing EM learns under one perturbation reaches the next.
struct TrainedModel {
    ProtMot& pm;
    const ProtInter& pi;
    const MotInterPot& mip;
    const MotInterPot& micp;
    ObsModel& om;
    ObsModel& dm;
    const ProtInter& di;
    std::ostream& outFile;
};

// Deep copies of the learned parameters for one perturbation cycle, made in
// the order mip, om, micp, dm. Making one marks the likelihood cache stale
// (and the trained and copied observation models dirty); releasing one marks
// the cache stale again, since it then describes objects that are gone.
class WorkCopy {
public:
    explicit WorkCopy(TrainedModel& t);
    ~WorkCopy();
    WorkCopy(const WorkCopy&) = delete;
    WorkCopy& operator=(const WorkCopy&) = delete;

    MotInterPot mip;
    ObsModel om;
    MotInterPot micp;
    ObsModel dm;

    // Non-interaction probability of a pair under the working potentials.
    double NonInter(int prot1, int prot2) const;
    // Log joint over the working copies (part 0 uses the cache).
    double LogJoint(int part);
    // Re-converges EM on the working copies, logging to `sink`.
    int Reconverge(std::ostream& sink);

private:
    TrainedModel& t;
};

// The EM log of the re-convergences is discarded.
class EmSink {
public:
    EmSink() { out.open("/dev/null"); }
    std::ofstream out;
};

// True when both ids of a listed protein pair are in range and observed.
bool ObservedPair(const TrainedModel& t, int a, int b);
