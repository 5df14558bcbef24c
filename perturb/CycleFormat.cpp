#include "perturb/CycleFormat.h"

namespace {

void Id(std::ostream& out, const Candidate& c, CycleId id)
{
    switch (id) {
    case CycleId::Protein1:
        out << c.prot1;
        break;
    case CycleId::Motif1:
        out << c.mot1;
        break;
    case CycleId::Protein2:
        out << c.prot2;
        break;
    case CycleId::Motif2:
        out << c.mot2;
        break;
    }
}

void Value(std::ostream& out, const CycleRecord& r, double jprob, CycleValue v)
{
    switch (v) {
    case CycleValue::NumLeak:
        out << r.numLeak;
        break;
    case CycleValue::NumNBLeak:
        out << r.numNBLeak;
        break;
    case CycleValue::NumActLeak:
        out << r.numLeak - r.numNBLeak;
        break;
    case CycleValue::NonInteractionForced:
        out << r.forced.nonInter;
        break;
    case CycleValue::LikelihoodChangeForced:
        out << r.forced.joint - jprob;
        break;
    case CycleValue::PositiveLikelihoodForced:
        out << r.forced.positive;
        break;
    case CycleValue::Rounds:
        out << r.rounds;
        break;
    case CycleValue::NonInteractionReconverged:
        out << r.reconverged.nonInter;
        break;
    case CycleValue::LikelihoodChangeReconverged:
        out << r.reconverged.joint - jprob;
        break;
    case CycleValue::PositiveLikelihoodReconverged:
        out << r.reconverged.positive;
        break;
    }
}

} // namespace

void WriteCycle(const CycleLayout& layout, const Candidate& c, const CycleRecord& r, double jprob,
                std::ostream& outFile)
{
    for (const CycleLine& l : layout.lines) {
        outFile << l.label;
        for (const CycleId id : layout.ids) {
            outFile << "\t";
            Id(outFile, c, id);
        }
        for (const CycleValue v : l.values) {
            outFile << "\t";
            Value(outFile, r, jprob, v);
        }
        outFile << '\n';
    }
    // One flush per cycle: a reader of the log sees every cycle as it ends.
    outFile.flush();
}
