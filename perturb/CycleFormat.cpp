#include "perturb/CycleFormat.h"

#include <span>

namespace {

// What a line shows after the cycle's ids.
enum class Shows { PF, LFChange, PosF, Rounds, PR, LRChange, PosR };

struct LineLayout {
    const char* label;
    Shows shows;
};

// The lines of each analysis, in order. The first two analyses share their
// wording; the extra Mot2 column tells the last one apart.
const LineLayout MOTIF_PROTEIN[] = {
    {"*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, "
     "Mot1, Prot2, Prob):\t",
     Shows::PF},
    {"*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, Prot2, "
     "Prob):\t",
     Shows::LFChange},
    {"*** Total # EM round (Prot1, Mot1, Prot2, EM):\t", Shows::Rounds},
    {"*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Prob):\t", Shows::PR},
    {"*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Prob):\t", Shows::LRChange},
};

const LineLayout MOTIF_TYPES[] = {
    {"*** Likelihood change after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):\t",
     Shows::LFChange},
    {"*** Positive likelihood after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):\t",
     Shows::PosF},
    {"*** Total # EM round (Mot1, Mot2, EM):\t", Shows::Rounds},
    {"*** Likelihood change after reconverge (Mot1, Mot2, Prob):\t", Shows::LRChange},
    {"*** Positive likelihood after reconverge (Mot1, Mot2, Prob):\t", Shows::PosR},
};

const LineLayout MOTIF_PAIR[] = {
    {"*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, "
     "Mot1, Prot2, Mot2, Prob):\t",
     Shows::PF},
    {"*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, Prot2, "
     "Mot2, Prob):\t",
     Shows::LFChange},
    {"*** Total # EM round (Prot1, Mot1, Prot2, Mot2, EM):\t", Shows::Rounds},
    {"*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Mot2, Prob):\t", Shows::PR},
    {"*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Mot2, Prob):\t", Shows::LRChange},
};

void Ids(std::ostream& out, int perType, const Candidate& c)
{
    if (perType == 2)
        out << c.mot1 << "\t" << c.mot2;
    else if (perType == 1)
        out << c.prot1 << "\t" << c.mot1 << "\t" << c.prot2;
    else
        out << c.prot1 << "\t" << c.mot1 << "\t" << c.prot2 << "\t" << c.mot2;
}

void Value(std::ostream& out, const CycleRecord& r, double jprob, Shows shows)
{
    switch (shows) {
    case Shows::PF: out << r.pF; break;
    case Shows::LFChange: out << r.lF - jprob; break;
    case Shows::PosF: out << r.posF; break;
    case Shows::Rounds: out << r.rounds; break;
    case Shows::PR: out << r.pR; break;
    case Shows::LRChange: out << r.lR - jprob; break;
    case Shows::PosR: out << r.posR; break;
    }
}

} // namespace

void WriteCycle(int perType, const Candidate& c, const CycleRecord& r, double jprob, std::ostream& outFile)
{
    if (perType == 1) {
        // The third column is Prot2, whatever the label says.
        outFile << "*** SetNonBind (prot1, mot1, prob2, numLeak, numNBLeak, numActLeak):\t" << c.prot1 << "\t"
                << c.mot1 << "\t" << c.prot2 << "\t" << r.numLeak << "\t" << r.numNBLeak << "\t"
                << r.numLeak - r.numNBLeak << '\n';
    }
    const std::span<const LineLayout> lines = perType == 1   ? std::span<const LineLayout>(MOTIF_PROTEIN)
                                            : perType == 2 ? std::span<const LineLayout>(MOTIF_TYPES)
                                                           : std::span<const LineLayout>(MOTIF_PAIR);
    for (const LineLayout& l : lines) {
        outFile << l.label;
        Ids(outFile, perType, c);
        outFile << "\t";
        Value(outFile, r, jprob, l.shows);
        outFile << '\n';
    }
    // One flush per cycle: a reader of the log sees every cycle as it ends.
    outFile.flush();
}
