#pragma once

#include <string>

// What the motifbind command line of a generated input set depends on.
struct RunSettings {
    int proteins = 0;
    int motifs = 0;
    int leakType = 1;
    int leakGroup = 10000;
    int perType = 0;
    int pertSize = -1;
    double priorPos = 0.1;
    double priorRatio = 1.0; // -n is written only when it is not 1
    // The recommended estimator and noise prior: DDI evidence through one
    // shared state per motif pair, and 200 pseudo-counts on every binary noise
    // model. Each is written only when it is not 0 (motifbind's default), so
    // 0 and 0 give the command line of earlier versions.
    int estimator = 1;         // -e
    double noisePrior = 200.0; // -b
    bool ddi = false;          // -d with the three domain-domain files
};

// The motifbind invocation for an input set written under the names of
// format/InputSetFiles.h: options, then the fourteen positional arguments,
// all file names relative to the set's folder, so it runs from inside that
// folder. One line, ended by a newline.
std::string RunCommand(const RunSettings& run);

// The line that tells how to run the set written to `outDir`:
// "run: cd <outDir> && $(cat command.txt)". command.txt starts with the bare
// name motifbind, which the log echoes, so a folder is never written into it;
// instead a non-empty `motifbindDir` goes first on PATH for that one command.
// Words a shell would split or expand are single-quoted. One line, ended by a
// newline.
std::string RunLine(const std::string& outDir, const std::string& motifbindDir);

// The same for the running program: the folder of the motifbind that belongs
// with it (beside it when installed, above it in a build tree), unless PATH
// already finds that very file, or no such motifbind exists.
std::string RunLine(const std::string& outDir);

// `word` as a shell reads it back: as it is when it holds nothing the shell
// would split, expand or quote; in single quotes otherwise; as $'...' with
// \xNN escapes when it holds a control byte, so that it stays on one line.
std::string ShellWord(const std::string& word);
