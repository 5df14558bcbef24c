#include "io/InputFiles.h"

#include <cmath>
#include <fstream>
#include <string>

#include "io/FileOpen.h"
#include "io/ObsReader.h"
#include "io/RecordReader.h"

namespace {

void CheckId(const RecordReader& r, const char* what, int id, int n)
{
    if (id < 0 || id >= n)
        throw InputErr(r.Where() + ": " + what + " id " + std::to_string(id) + " is out of range; " + ExpectedIds(n));
}

void Close(std::istream& in)
{
    if (auto* f = dynamic_cast<std::ifstream*>(&in))
        f->close();
}

// Records of (protein, number), e.g. lengths or coverage.
template <typename Store>
void ReadProtValues(std::istream& in, const ProtMot& pm, Store store)
{
    RecordReader r(in);
    while (r.Start()) {
        int prot = 0, v = 0;
        if (!(r.Get(prot) && r.Get(v))) {
            r.WarnStop();
            return;
        }
        CheckId(r, "protein", prot, pm.GetNumProt());
        store(prot, v);
    }
}

int ReadProtMots(std::istream& in, ProtMot& pm)
{
    RecordReader r(in);
    int count = 0;
    while (r.Start()) {
        int prot = 0, mot = 0, len = 0;
        if (!(r.Get(prot) && r.Get(mot) && r.Get(len))) {
            r.WarnStop();
            break;
        }
        CheckId(r, "protein", prot, pm.GetNumProt());
        CheckId(r, "motif", mot, pm.GetNumMot());
        pm.AddMot(prot, mot, len);
        ++count;
    }
    return count;
}

int ReadActivePairs(std::istream& in, MotInterPot& mip)
{
    RecordReader r(in);
    int count = 0;
    while (r.Start()) {
        int m1 = 0, m2 = 0;
        double aff = 0.0;
        if (!(r.Get(m1) && r.Get(m2) && r.Get(aff))) {
            r.WarnStop();
            break;
        }
        CheckId(r, "motif", m1, mip.GetNumMot());
        CheckId(r, "motif", m2, mip.GetNumMot());
        mip.AddPot(m1, m2, aff);
        ++count;
    }
    return count;
}

} // namespace

void ReadFiles(ProtMot& pm, ProtInter& pi, MotInterPot& mip, ObsModel& om, ObsModel& dm, ProtInter& di,
               std::istream& protLenFile, std::istream& motCoverFile, std::istream& pmFile, std::istream& protFile,
               std::istream& modelFile, std::istream& motFile, std::ostream& outFile, int leakGroup,
               std::istream& ddiFile, std::istream& ddmdlFile, std::istream& ddioptFile)
{
    pm.SetLeakGroup(leakGroup);
    ReadProtValues(protLenFile, pm, [&pm](int p, int v) { pm.AddProtLen(p, v); });
    ReadProtValues(motCoverFile, pm, [&pm](int p, int v) { pm.AddMotCover(p, v); });

    const int appearances = ReadProtMots(pmFile, pm);
    Close(pmFile);
    outFile << "*** Total # motif appearances:\t" << appearances << std::endl;

    ReadModelPPI(om, pi, modelFile, protFile, outFile, nullptr, nullptr);

    const int pairs = ReadActivePairs(motFile, mip);
    Close(motFile);
    outFile << "*** # active motif pairs:\t" << pairs << std::endl;

    if (pm.GetLeakType() == 1)
        mip.SetLeak(std::sqrt(double(leakGroup)) * INITLEAKPERVAR);
    else
        mip.SetLeak(INITLEAK0PROB);
    outFile << "*** Initial leak prob:\t" << mip.GetLeak() << std::endl;

    ReadModelPPI(dm, di, ddmdlFile, ddiFile, outFile, &ddioptFile, &mip);
}
