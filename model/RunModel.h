#pragma once

#include <algorithm>

#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"

// The model objects of one run: the proteins and their motifs, the PPI
// observations with their observation models, the domain-domain evidence
// with its models, and the motif-pair potentials.
struct RunModel {
    ProtMot pm;
    ProtInter pi;
    MotInterPot mip;
    ObsModel om;
    ObsModel dm;
    // Keyed by motif pairs, so its id range must cover the motifs too.
    ProtInter di;

    RunModel(int numProt, int numMot, int leakType)
        : pm(numProt, numMot), pi(numProt), mip(numMot), di(std::max(numProt, numMot))
    {
        pm.SetLeakType(leakType);
    }
};
