#include "app/Run.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "app/CommandLine.h"
#include "io/FileOpen.h"
#include "model/Globals.h"

namespace {

// Largest protein or motif count whose triangular pair index fits 32 bits.
constexpr int MAXCOUNT = 46340;

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

    // The run itself follows in later stages of the program.
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
