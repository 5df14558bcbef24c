#include "app/CommandLine.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "model/Globals.h"

namespace {

const char* const USAGE =
    "Usage: exe\n"
    "  [-f <numprot> <nummot>]\n"
    "  [-l <leaktype>]\n"
    "  [-p <pertype>]\n"
    "  [-d <ddi file> <ddi model file> <ddi opt file>]\n"
    "  [-n <Dirichlet prior Neg / Pos>]\n"
    "  [-s <pertsize>]\n"
    "  <observed protein interaction file>\n"
    "  <model type file>\n"
    "  <protein-motif content file>\n"
    "  <active motif pair file>\n"
    "  <inactive but may activate motif pair file>\n"
    "  <waiting list motif pair file>\n"
    "  <output file>\n"
    "  <prediction file>\n"
    "  <protein pairs to predict interaction>\n"
    "  <protein pairs to predict binding variables>\n"
    "  <Dirichlet prior: Pos>\n"
    "  <protein length file> f1: prot. f2: len\n"
    "  <# a.a. pairs in leakProb> (integer)\n"
    "  <motif coverage file>\n"
    "\n"
    "Note: The names for proteins must exactly cover [0, NUMPROT) because we assume the pairs not listed to be non-interacting. All names for motifs must be in [0, NUMMOT).\n"
    "\n"
    "<numprot>:\n"
    "  # total proteins considered\n"
    "<nummot>:\n"
    "  # total motifs considered\n"
    "\n"
    "<leaktype>:\n"
    "  0: always 1 leak variable\n"
    "  1: # leak vars proportional to the square root of non-motif a.a. pair\n"
    "  2: no leak variable like in Tamsel et al.\n"
    "Default: 1\n"
    "<# a.a. pairs in leakProb> only meaningful for <leaktype> 1\n"
    "\n"
    "<pertype>:\n"
    "  1: force a motif and a protein to be non-binding. Our model\n"
    "  2: force pairs between motif types to be non-binding. Tamsel's model\n"
    "  3: force a pair of motifs in a protein pair to be non-binding\n"
    "Default: 1\n"
    "\n"
    "<ddi file> <ddi model file> <ddi opt file>:\n"
    "Default: no evidence under the ddi binding vars\n"
    "\n"
    "<ddi file>: domain-domain binding noisy indicator\n"
    "f1: mot1. f2: mot2. f3: observed value. f4: ID of model to use when actual value is 0. f5: model ID when actual value is 1.\n"
    "Mot pairs must be all different. f1 and f2 can be the same. Pairs of the same model ID share same parameters & learned together. ID -1 means the same as actual val, ie. f3 = 1 given actual val = 1 & 0 given actual val = 0. Note that f4 can be -1 while f5 can be other value, or vice versa, which means f3 is always 0 given actual val = 0, while f3 can be other dist given actual val = 1. ID -2 means uniform dist over [0, 1], ie. f3 = any value in [0, 1] w/ prob 1. All other IDs has to be >= 0.\n"
    "Warning: if the same observation appear twice, they will be considered to be two independent observations and strengthen the belief.\n"
    "\n"
    "<ddi model file>: DDI observation model\n"
    "f1: model ID in <ddi file>. f2: model type. Rest fields: additional parameter for the model type. See <model type file> below for description.\n"
    "f1 is >= 0 & should cover all IDs appeared in <ddi file> except for ID -1 and -2, which has special meaning. No ID should appear twice.\n"
    "\n"
    "<ddi opt file>: additional options for <ddi file>\n"
    "f1: option:\n"
    " 0: all pair of same mots should be included.\n"
    " 1: all pair of different mots should be included.\n"
    " 2: all pair of mots should be included.\n"
    "f2: default val. f3: model1. f4: model2. Only add the pair with default value if it is not in <ddi file> with the same (model1, model2) id[]. f5: # mots. Only add pair based on when both mots have index in [0, f5).\n"
    "\n"
    "<Dirichlet prior Neg / Pos>:\n"
    "See <Dirichlet prior: Pos> below\n"
    "\n"
    "<pertsize>:\n"
    "Perturb only if mots have index in [0, <pertsize>)\n"
    "\n"
    "<observed protein interaction file>:\n"
    "f1: 1st prot. f2: 2nd prot. f3: observed value. f4: ID of model to use when actual value is 0. f5: model ID when actual value is 1.\n"
    "Protein pairs must be all different. f1 and f2 must be different. Pairs of the same model ID share same parameters and learned together. ID -1 means the same as actual val, ie. f3 = 1 given actual val = 1 & 0 given actual val = 0. Note that f4 can be -1 while f5 can be other value (or vice versa), which means f3 is always 0 given actual val = 0, while f3 can be other dist given actual val = 1. ID -2 means uniform dist over [0, 1], ie. f3 = any value in [0, 1] w/ prob 1. All other IDs has to be >= 0.\n"
    "Warning: if the same observation appear twice, they will be considered to be two independent observations and strengthen the belief.\n"
    "\n"
    "<model type file>:\n"
    "f1: model ID in <observed protein interaction file>. f2: model type. Rest fields: additional parameter for the model type:\n"
    " OM_BINARY: init prob of being 0.\n"
    " OM_GAUSSIAN: init mean; init variance.\n"
    " OM_EXPONENTIAL: shift(c); right(0)/left(1); init l\n"
    "  l*exp(-lambda*(x-c)), x>=c if right so obsval >=c\n"
    "  l*exp(-lambda*(c-x)), x<=c if left so osbval <=c\n"
    "  shift and right/left are fixed in learning.\n"
    " OM_MIXTURE: max # iterations when learning (m);\n"
    "  # distributions in the mixture (s); then a new\n"
    "  line for each distribution:\n"
    "   initial weight (w); distribution type (t); list\n"
    "   of parameters as described above\n"
    " OM_UNIFORM: begin; end; inclusiveness:\n"
    "  0: both ends open. 1: begin open, end close\n"
    "  2: begin close, end open. 3: both ends close\n"
    "  'OM_UNIFORM 0 1 3' is the same as model ID -2\n"
    "f1 is >= 0 & should cover all IDs appeared in <observed protein interaction file> except for ID -1 and -2, which has special meaning. No ID should appear twice.\n"
    "\n"
    "<protein-motif content file>\n"
    "f1: prot. f2: mot. f3: len of the mot on the prot.\n"
    "Protein-motif pairs must be all different. i.e. each (prot, mot) pair should appear only once. If they have multiple copies of the same motif on a protein, their lengths should be summed up.\n"
    "\n"
    "{active,inactive but may activate,waiting list} motif pair file>:\n"
    "f1: 1st mot. f2: 2nd mot.\n"
    "Motif pairs in must be all different. f1 and f2 may be the same. Motif pairs in <waiting list> should be ranked from high to low based on the priority it being take into consideration.\n"
    "\n"
    "<output file>:\n"
    "Log in a easy to process format.\n"
    "\n"
    "<prediction file>:\n"
    "First part (Predicted interaction probability for protein pairs):\n"
    "f1: 1st prot. f2: 2nd prot. f3: non-inter prob without evidence. f4: non-inter prob given evidence or 'H' if no evidence.\n"
    "Second part (prediction on binding var):\n"
    "f1: 1st prot. f2: 2nd prot. f3: 1st mot. f4: 2nd mot. f5: mot affinity. f6: binding prob given evidence or 'H' if no evidence.\n"
    "Go over all mot pairs on protein pairs in <protein pairs to predict binding variables>.\n"
    "\n"
    "<protein pairs to predict interaction>:\n"
    "f1: 1st prot. f2: 2nd prot.\n"
    "\n"
    "<protein pairs to predict binding variables>:\n"
    "f1: 1st prot. f2: 2nd prot.\n"
    "\n"
    "<Dirichlet prior: Pos>:\n"
    "<Dirichlet prior: Pos> = g_aPos\n"
    "Prior over motif affinity:\n"
    "\theta_pos^g_aPos \theta_neg^g_aNeg / N, which is\n"
    "D(g_aPos + 1, g_aNeg + 1). We don't use g_aPos + 1\n"
    "as parameter b/c when we do MAP estimate in M-step,\n"
    "we use g_aPos and g_aNeg as additional counts.\n"
    "\n"
    "<protein length file>:\n"
    "f1: prot. f2: len.\n"
    "\n"
    "<# a.a. pairs in leakProb>:\n"
    "refers to how many non-motif a.a. pairs between two proteins do we want to group them into one leakProb variable. If it's larger, we will have less leakProb variables and computation would be faster and EM more accurate. However, the bio modeling has lower resolution.\n"
    "\n"
    "<motif coverage file>:\n"
    "f1: prot. f2: motif coverage.\n"
    "Total a.a. coverage for each protein by all motifs in the training set. It may not equal the sum of all motif lengths in <protein-motif content file> because of overlap.\n";

// Takes the next argument of option `opt`, refusing to read past the end.
char* NextArg(int& argc, char**& argv, char opt, int need)
{
    if (argc <= 0)
        throw UsageErr(std::string("option -") + opt + " needs " + std::to_string(need) +
                       (need == 1 ? " argument" : " arguments"));
    char* a = argv[0];
    ++argv;
    --argc;
    return a;
}

// A whole decimal number from 1 to MAXTHREADS, nothing else.
int ThreadCount(const char* word)
{
    const std::string w = word;
    int n = 0;
    const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), n);
    if (ec != std::errc() || end != w.data() + w.size() || n < 1 || n > MAXTHREADS)
        throw UsageErr("option -t needs a whole number of threads from 1 to " + std::to_string(MAXTHREADS) +
                       ", got \"" + w + "\"");
    return n;
}

// A whole decimal number, nothing else.
bool WholeNumber(const std::string& w, std::int64_t& n)
{
    const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), n);
    return ec == std::errc() && end == w.data() + w.size();
}

// Block index and block count of -j.
Shard ShardBlock(const char* index, const char* count)
{
    const std::string i = index, c = count;
    Shard s;
    if (WholeNumber(i, s.index) && WholeNumber(c, s.count) && s.count >= 1 && s.count <= MAXSHARDS &&
        s.index >= 0 && s.index < s.count)
        return s;
    std::string what = "option -j needs a block index and a block count, whole numbers with 0 <= index < count <= ";
    what += std::to_string(MAXSHARDS);
    what += ", got \"" + i + "\" \"" + c + "\"";
    throw UsageErr(what);
}

} // namespace

void PrintUsage(std::ostream& out)
{
    const std::string text = USAGE;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        out << text.substr(pos, nl - pos) << std::endl;
        pos = nl + 1;
    }
}

void ReadOption(int& argc, char**& argv, int& leakType, int& perType, InFile& ddiFile, InFile& ddmdlFile,
                InFile& ddioptFile, int& pertSize, int& threads, std::optional<Shard>& shard,
                std::vector<const char*>* unechoed)
{
    ++argv;
    --argc;
    if (argc <= 0)
        throw UsageErr("");
    while (argc > 0 && argv[0][0] == '-') {
        const char opt = argv[0][1]; // only the second character counts: -lx is -l
        ++argv;
        --argc;
        switch (opt) {
        case 'f': {
            const char* np = NextArg(argc, argv, opt, 2);
            const char* nm = NextArg(argc, argv, opt, 2);
            g_numProt = std::atoi(np);
            g_numMot = std::atoi(nm);
            break;
        }
        case 'l':
            leakType = std::atoi(NextArg(argc, argv, opt, 1));
            break;
        case 'p':
            perType = std::atoi(NextArg(argc, argv, opt, 1));
            break;
        case 'd': {
            // Check that all three names are there before opening any of them.
            if (argc < 3)
                throw UsageErr("option -d needs 3 arguments");
            InFopen(ddiFile, NextArg(argc, argv, opt, 3));
            InFopen(ddmdlFile, NextArg(argc, argv, opt, 3));
            InFopen(ddioptFile, NextArg(argc, argv, opt, 3));
            break;
        }
        case 'n':
            g_aN2P = std::atof(NextArg(argc, argv, opt, 1));
            break;
        case 's':
            pertSize = std::atoi(NextArg(argc, argv, opt, 1));
            break;
        case 't': {
            const char* word = argv[-1];
            const char* n = NextArg(argc, argv, opt, 1);
            threads = ThreadCount(n);
            if (unechoed) {
                unechoed->push_back(word);
                unechoed->push_back(n);
            }
            break;
        }
        case 'j': {
            const char* word = argv[-1];
            const char* index = NextArg(argc, argv, opt, 2);
            const char* count = NextArg(argc, argv, opt, 2);
            shard = ShardBlock(index, count);
            if (unechoed) {
                unechoed->push_back(word);
                unechoed->push_back(index);
                unechoed->push_back(count);
            }
            break;
        }
        default:
            throw UsageErr("");
        }
    }
}
