#include "app/Run.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "app/CommandLine.h"
#include "infer/EMDriver.h"
#include "infer/EMRound.h"
#include "infer/Likelihood.h"
#include "io/FileOpen.h"
#include "io/InputFiles.h"
#include "model/Globals.h"
#include "model/MotInterPot.h"
#include "model/ObsModel.h"
#include "model/ProtInter.h"
#include "model/ProtMot.h"
#include "perturb/Perturb.h"
#include "predict/Predict.h"

namespace {

// Largest protein or motif count whose triangular pair index fits 32 bits.
constexpr int MAXCOUNT = 46340;

void Line(std::ostream& out, const std::string& text) { out << text << std::endl; }

template <typename T>
void Dump(std::ostream& out, const char* banner, const T& obj)
{
    Line(out, banner);
    obj.Print(out);
}

void Dump(std::ostream& out, const char* banner, const ProtInter& pi, const ProtMot& pm)
{
    Line(out, banner);
    pi.Print(pm, out);
}

// Values the rest of the model cannot work with.
void CheckSettings(int leakType, int leakGroup)
{
    if (g_numProt < 0 || g_numProt > MAXCOUNT || g_numMot < 0 || g_numMot > MAXCOUNT)
        throw UsageErr("-f counts must lie in [0, " + std::to_string(MAXCOUNT) + "], got " +
                       std::to_string(g_numProt) + " and " + std::to_string(g_numMot));
    if (leakType < 0 || leakType > 2)
        throw UsageErr("leak type (-l) must be 0, 1 or 2, got " + std::to_string(leakType));
    if (leakType == 1 && leakGroup <= 0)
        throw UsageErr("<# a.a. pairs in leakProb> must be a positive integer with leak type 1, got " +
                       std::to_string(leakGroup));
}

int Run(int argc, char** argv)
{
    InFile protFile, modelFile, pmFile, motFile, predpairFile, predbindFile, protLenFile, motCoverFile;
    InFile ddiFile, ddmdlFile, ddioptFile;
    InFopen(ddiFile, "/dev/null");
    InFopen(ddmdlFile, "/dev/null");
    InFopen(ddioptFile, "/dev/null");
    std::ofstream outFile, predictFile;

    std::string cmdLine = "*** Command line:";
    for (int i = 0; i < argc; ++i)
        cmdLine += std::string(" ") + argv[i];
    cmdLine += "\n";

    int leakType = 1, perType = 1, pertSize = -1;
    ReadOption(argc, argv, leakType, perType, ddiFile, ddmdlFile, ddioptFile, pertSize);
    if (argc != 14)
        throw UsageErr("");
    const int leakGroup = std::atoi(argv[12]);
    CheckSettings(leakType, leakGroup);

    ProtMot pm(g_numProt, g_numMot);
    pm.SetLeakType(leakType);
    MotInterPot mip(g_numMot);
    ProtInter pi(g_numProt);
    // Keyed by motif pairs, so its id range must cover the motifs too.
    ProtInter di(std::max(g_numProt, g_numMot));
    ObsModel om, dm;

    InFopen(protFile, argv[0]);
    InFopen(modelFile, argv[1]);
    InFopen(pmFile, argv[2]);
    InFopen(motFile, argv[3]);
    OutFopen(outFile, argv[6]);
    InFopen(protLenFile, argv[11]);
    InFopen(motCoverFile, argv[13]);

    outFile.precision(15);
    g_aPos = std::atof(argv[10]);
    g_aNeg = g_aN2P * g_aPos;
    g_aAll = g_aNeg + g_aPos;

    outFile << cmdLine << std::flush;
    outFile << "*** # proteins:\t" << g_numProt << std::endl;
    outFile << "*** # motifs:\t" << g_numMot << std::endl;
    outFile << "Prior:\t" << g_aPos << "\t" << g_aN2P << "\t" << g_aNeg << "\t" << g_aAll << std::endl;
    outFile << "pertSize:\t" << pertSize << std::endl;

    ReadFiles(pm, pi, mip, om, dm, di, protLenFile, motCoverFile, pmFile, protFile, modelFile, motFile, outFile,
              leakGroup, ddiFile, ddmdlFile, ddioptFile);

    pm.Print(outFile);
    Dump(outFile, "****** PPI ******", pi, pm);
    Dump(outFile, "****** DDI ******", di, pm);
    Dump(outFile, "****** Potential without conditioning ******", mip);
    Dump(outFile, "****** PPI observatoin model ******", om);
    Dump(outFile, "****** DDI observatoin model ******", dm);
    Line(outFile, "***********************************************");
    Line(outFile, "*** Initialization done.");
    Line(outFile, "***********************************************");

    MotInterPot micp(mip);
    ObsModel emptyDm;
    ProtInter emptyDi(g_numProt);

    // Phase 1: EM without the domain-domain evidence.
    Line(outFile, "****** RunEM without DDI ...");
    int rounds = RunEM(pm, pi, mip, micp, om, emptyDm, emptyDi, outFile);
    double j = LogJointProb(pm, pi, mip, micp, om, emptyDm, emptyDi, outFile, 0);
    outFile << "*** Total # EM round and joint prob:\t" << rounds << "\t" << j << std::endl;
    Dump(outFile, "****** Potential without conditioning ******", mip);
    Dump(outFile, "****** PPI observatoin model ******", om);

    // Phase 2: one round brings the DDI model in; its joint is the first
    // with dm and di, so it must not come from the cache.
    g_curjProbChange = 1;
    Line(outFile, "****** initializing DDI model ...");
    EnM1Step(pm, mip, micp, pi, om, dm, di);
    om.M2Step(nullptr, nullptr, nullptr);
    dm.M2Step(&micp, &mip, &di);
    j = LogJointProb(pm, pi, mip, micp, om, dm, di, outFile, 0);
    outFile << "*** Joint prob:\t" << j << std::endl;
    Dump(outFile, "****** Potential without conditioning ******", mip);
    Dump(outFile, "****** Potential conditioned on DDI data ******", micp);
    Dump(outFile, "****** PPI observatoin model ******", om);
    Dump(outFile, "****** DDI observatoin model ******", dm);

    // Phase 3: EM with the DDI evidence.
    Line(outFile, "****** RunEM with DDI ...");
    rounds = RunEM(pm, pi, mip, micp, om, dm, di, outFile);
    j = LogJointProb(pm, pi, mip, micp, om, dm, di, outFile, 0);
    outFile << "*** Total # EM round and joint prob:\t" << rounds << "\t" << j << std::endl;
    Dump(outFile, "****** Potential without conditioning ******", mip);
    Dump(outFile, "***** Potential conditioned on DDi data *****", micp);
    Dump(outFile, "****** PPI observatoin model ******", om);
    Dump(outFile, "****** DDI observatoin model ******", dm);

    // Predictions.
    OutFopen(predictFile, argv[7]);
    InFopen(predpairFile, argv[8]);
    InFopen(predbindFile, argv[9]);
    PredictProtInter(predpairFile, predictFile, pm, pi, mip, micp, om);
    predpairFile.close();
    if (perType != 2)
        PredictBinding(predbindFile, predictFile, pm, mip, micp, pi, om);
    Line(predictFile, "*** End of file.");
    predictFile.close();

    // Analysis: every re-convergence checks after each round.
    NUMITERCHECK = 1;
    const double jprob = LogJointProb(pm, pi, mip, micp, om, dm, di, outFile, 0);
    outFile << "Joint prob before perturbation:\t" << jprob << std::endl;
    if (perType >= 1 && perType <= 3) {
        InFopen(predbindFile, argv[9]);
        if (perType == 1)
            PertPair(pm, pi, mip, micp, om, dm, di, outFile, predbindFile, jprob, pertSize);
        else if (perType == 2)
            PerTypes(pm, pi, mip, micp, om, dm, di, outFile, predbindFile, jprob, pertSize);
        else
            PertMot2(pm, pi, mip, micp, om, dm, di, outFile, predbindFile, jprob, pertSize);
        predbindFile.close();
    }
    Line(outFile, "*** End of file.");
    outFile.close();
    return 0;
}

} // namespace

int RunMain(int argc, char** argv)
{
    ResetGlobals();
    try {
        return Run(argc, argv);
    } catch (const UsageErr& e) {
        if (*e.what())
            std::cerr << "Error: " << e.what() << std::endl;
        PrintUsage(std::cerr);
        return 1;
    } catch (const FileOpenErr&) {
        return 2; // the message is already on standard error
    } catch (const FilExistErr&) {
        return 2;
    } catch (const InputErr& e) {
        std::cerr << "Error: " << e.what() << std::endl;
        return 2;
    }
}
