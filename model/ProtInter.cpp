#include "model/ProtInter.h"

#include <ostream>

#include "model/ProtMot.h"

bool GetObsVal(const InterList& obsvals, const int* id, double* val)
{
    bool found = false;
    for (const auto& d : obsvals) {
        if (d.modelId0 == *id) {
            found = true;
            if (val)
                *val = d.val;
        }
    }
    return found;
}

void ProtInter::AddInter(int prot1, int prot2, double val, int modelid0, int modelid1)
{
    inter[Index(prot1, prot2)].push_back(interdatum{val, modelid0, modelid1});
}

bool ProtInter::GetInterVal(int prot1, int prot2, const int* id, double* val) const
{
    const auto it = GetInter(prot1, prot2);
    if (it == inter.end())
        return false;
    return GetObsVal(it->second, id, val);
}

void ProtInter::Print(const ProtMot& pm, std::ostream& outFile) const
{
    outFile << "***s Observations (prot1, prot2, # nonmotif aa pair with all binding, # 0th leak var, (obs val, "
               "modelid1, modelid2)+):"
            << '\n';
    for (const auto& [key, obs] : inter) {
        const auto [p1, p2] = RevIndex(key);
        const auto n = pm.NonMotifPairs(p2, p1);
        outFile << p1 << "\t" << p2 << "\t" << n << "\t" << pm.LeakForPairs(n);
        for (const auto& d : obs)
            outFile << "\t" << d.val << "\t" << d.modelId0 << "\t" << d.modelId1;
        outFile << '\n';
    }
    outFile << "***e Observations." << '\n';
    outFile << "*** Total # interacting protein pairs:\t" << inter.size() << '\n';
}
