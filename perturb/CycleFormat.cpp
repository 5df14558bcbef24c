#include "perturb/CycleFormat.h"

namespace {

// The label, then the ids of the cycle, then the value, tab-separated.
template <typename T>
void Line(std::ostream& out, const char* label, const Candidate& c, int perType, T value)
{
    out << label;
    if (perType == 2)
        out << c.mot1 << "\t" << c.mot2;
    else if (perType == 1)
        out << c.prot1 << "\t" << c.mot1 << "\t" << c.prot2;
    else
        out << c.prot1 << "\t" << c.mot1 << "\t" << c.prot2 << "\t" << c.mot2;
    out << "\t" << value << std::endl;
}

void WriteMotifProtein(const Candidate& c, const CycleRecord& r, double jprob, std::ostream& out)
{
    out << "*** SetNonBind (prot1, mot1, prob2, numLeak, numNBLeak, numActLeak):\t" << c.prot1 << "\t" << c.mot1
        << "\t" << c.prot2 << "\t" << r.numLeak << "\t" << r.numNBLeak << "\t" << r.numLeak - r.numNBLeak
        << std::endl;
    Line(out,
         "*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, "
         "Mot1, Prot2, Prob):\t",
         c, 1, r.pF);
    Line(out,
         "*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, "
         "Prot2, Prob):\t",
         c, 1, r.lF - jprob);
    Line(out, "*** Total # EM round (Prot1, Mot1, Prot2, EM):\t", c, 1, r.rounds);
    Line(out, "*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Prob):\t", c, 1, r.pR);
    Line(out, "*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Prob):\t", c, 1, r.lR - jprob);
}

void WriteMotifTypes(const Candidate& c, const CycleRecord& r, double jprob, std::ostream& out)
{
    Line(out, "*** Likelihood change after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):\t",
         c, 2, r.lF - jprob);
    Line(out, "*** Positive likelihood after forcing a pair of motif types to be non-binding (Mot1, Mot2, Prob):\t",
         c, 2, r.posF);
    Line(out, "*** Total # EM round (Mot1, Mot2, EM):\t", c, 2, r.rounds);
    Line(out, "*** Likelihood change after reconverge (Mot1, Mot2, Prob):\t", c, 2, r.lR - jprob);
    Line(out, "*** Positive likelihood after reconverge (Mot1, Mot2, Prob):\t", c, 2, r.posR);
}

void WriteMotifPair(const Candidate& c, const CycleRecord& r, double jprob, std::ostream& out)
{
    Line(out,
         "*** Non-interaction probability after forcing an active motif and a protein to be non-binding (Prot1, "
         "Mot1, Prot2, Mot2, Prob):\t",
         c, 3, r.pF);
    Line(out,
         "*** Likelihood change after forcing an active motif and a protein to be non-binding (Prot1, Mot1, "
         "Prot2, Mot2, Prob):\t",
         c, 3, r.lF - jprob);
    Line(out, "*** Total # EM round (Prot1, Mot1, Prot2, Mot2, EM):\t", c, 3, r.rounds);
    Line(out, "*** Non-interaction probability after reconverge (Prot1, Mot1, Prot2, Mot2, Prob):\t", c, 3, r.pR);
    Line(out, "*** Likelihood change after reconverge (Prot1, Mot1, Prot2, Mot2, Prob):\t", c, 3, r.lR - jprob);
}

} // namespace

void WriteCycle(int perType, const Candidate& c, const CycleRecord& r, double jprob, std::ostream& outFile)
{
    if (perType == 1)
        WriteMotifProtein(c, r, jprob, outFile);
    else if (perType == 2)
        WriteMotifTypes(c, r, jprob, outFile);
    else
        WriteMotifPair(c, r, jprob, outFile);
}
