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

void ReadFiles(RunModel& m, const InputStreams& in, int leakGroup, std::ostream& log)
{
    ProtMot& pm = m.pm;
    pm.SetLeakGroup(leakGroup);
    ReadProtValues(in.protLen, pm, [&pm](int p, int v) { pm.AddProtLen(p, v); });
    ReadProtValues(in.motCover, pm, [&pm](int p, int v) { pm.AddMotCover(p, v); });

    const int appearances = ReadProtMots(in.protMot, pm);
    Close(in.protMot);
    log << "*** Total # motif appearances:\t" << appearances << std::endl;

    ReadModelPPI(m.om, m.pi, in.models, in.obs, log, nullptr, nullptr);

    const int pairs = ReadActivePairs(in.active, m.mip);
    Close(in.active);
    log << "*** # active motif pairs:\t" << pairs << std::endl;

    if (pm.GetLeakType() == 1)
        m.mip.SetLeak(std::sqrt(double(leakGroup)) * INITLEAKPERVAR);
    else
        m.mip.SetLeak(INITLEAK0PROB);
    log << "*** Initial leak prob:\t" << m.mip.GetLeak() << std::endl;

    ReadModelPPI(m.dm, m.di, in.ddiModels, in.ddi, log, &in.ddiOpt, &m.mip);
}
