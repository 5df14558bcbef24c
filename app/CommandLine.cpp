#include "app/CommandLine.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "app/NumberWord.h"
#include "format/LogLabels.h"

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

// Options the usage text leaves out, which --help adds after it. Each is one
// synopsis line and a paragraph in the style of the usage text; a new
// option is one more entry.
struct HelpEntry {
    const char* synopsis;
    const char* paragraph;
};

const HelpEntry ADDED_OPTIONS[] = {
    {"  [-t <threads>]",
     "<threads>:\n"
     "  # threads that run the perturbation cycles side by side, 1 to 256. The log, the prediction file and the standard output are the same for every thread count.\n"
     "Default: 1\n"},
    {"  [-j <index> <count>]",
     "<index> <count>:\n"
     "  Train as always, then run only block <index> of <count> contiguous blocks of the perturbation cycles, 0 <= <index> < <count> <= 1000000, and write <output file>.shard beside the log. motifbind-merge joins the blocks into the outputs of a single run.\n"
     "Default: 0 1, all cycles\n"},
    {"  [-e <estimator>]",
     "<estimator>:\n"
     "  How the domain-domain evidence is learned from.\n"
     "  0: every binding variable of a motif pair sees the pair's DDI observations as evidence of its own, and inference uses the affinities conditioned on them\n"
     "  1: the DDI observations of a motif pair observe one binding state of the motif pair, whose prior is its affinity: they enter the likelihood once and count once in the affinity, and inference uses the affinities themselves (the conditioned potentials equal them)\n"
     "Default: 0\n"},
    {"  [-b <noise prior>]",
     "<noise prior>:\n"
     "  Strength, in pseudo-counts, of a Beta prior on every OM_BINARY model of <model type file> and <ddi model file>, centred on its initial prob of being 0: a learned rate then never reaches 0 or 1, and a very large strength keeps the rates fixed. A finite real number >= 0.\n"
     "Default: 0, no prior\n"},
};

const char* const HELP_HEAD =
    "\n"
    "Further options, before the positional arguments. -t and -j change how a run is carried out, never what it writes, and the log's command line leaves them out; -e and -b change what it learns:\n";

const char* const HELP_TAIL =
    "\n"
    "motifbind --help prints this text, motifbind --version the version.\n";

constexpr int INTMIN = std::numeric_limits<int>::min();
constexpr int INTMAX = std::numeric_limits<int>::max();

// Writes `text` line by line, with a flush after each.
void WriteLines(std::ostream& out, const std::string& text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        out << text.substr(pos, nl - pos) << std::endl;
        pos = nl + 1;
    }
}

std::string Range(std::int64_t lo, std::int64_t hi)
{
    return "a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
}

// The value `w` given to `what` is not what it needs.
[[noreturn]] void Refuse(const std::string& what, const std::string& w, const std::string& expected)
{
    throw UsageErr(what + " needs " + expected + ", got " + Shown(w));
}

// The word given for an int setting whose range is [lo, hi], and its value
// (the default until a word is given). A word that is no whole number of
// type int is refused at once; whether the value lies in the range is for
// the caller to ask, once it is known to count.
struct IntWord {
    const char* what;
    int lo, hi;
    int value;
    std::string expected;
    std::string word;

    IntWord(const char* what, int lo, int hi, int value, std::string expected = "")
        : what(what), lo(lo), hi(hi), value(value), expected(expected.empty() ? Range(lo, hi) : std::move(expected))
    {
    }

    void Set(const char* w)
    {
        word = w;
        const auto x = WholeWord(word);
        if (!x || *x < INTMIN || *x > INTMAX)
            Refuse(what, word, expected);
        value = int(*x);
    }
    // The value, refused when it is outside [lo, hi].
    int Checked() const
    {
        if (value < lo || value > hi)
            Refuse(what, word, expected);
        return value;
    }
};

// The word given for a real setting that must be finite and at least 0, and
// its value, checked as IntWord does.
struct CountWord {
    const char* what;
    std::string word;
    double value;

    CountWord(const char* what, double value) : what(what), value(value) {}

    void Set(const char* w)
    {
        word = w;
        const auto x = RealWord(word);
        if (!x)
            Refuse(what, word, EXPECTED);
        value = *x;
    }
    double Checked() const
    {
        if (!(value >= 0))
            Refuse(what, word, EXPECTED);
        return value;
    }

    static constexpr const char* EXPECTED = "a finite real number >= 0";
};

// The words after the program name, taken one at a time; never past the
// last one.
class Words {
public:
    Words(int argc, const char* const* argv) : argc(argc), argv(argv) {}

    bool Left() const { return at < argc; }
    int At() const { return at; }
    const char* Peek() const { return argv[at]; }
    // The next argument of option `opt`, which takes `need` in all.
    const char* Arg(char opt, int need)
    {
        if (!Left())
            throw UsageErr(std::string("option -") + opt + " needs " + std::to_string(need) +
                           (need == 1 ? " argument" : " arguments"));
        return argv[at++];
    }
    const char* Next() { return argv[at++]; }

private:
    int argc;
    const char* const* argv;
    int at = 1; // past the program name
};

// Block index and block count of -j.
Shard ShardBlock(const std::string& index, const std::string& count)
{
    const auto i = WholeWord(index), c = WholeWord(count);
    if (i && c && *c >= 1 && *c <= MAXSHARDS && *i >= 0 && *i < *c)
        return Shard{*i, *c};
    throw UsageErr("option -j needs a block index and a block count, whole numbers with 0 <= index < count <= " +
                   std::to_string(MAXSHARDS) + ", got " + Shown(index) + " " + Shown(count));
}

} // namespace

void PrintUsage(std::ostream& out) { WriteLines(out, USAGE); }

void PrintHelp(std::ostream& out)
{
    std::string text = USAGE;
    text += HELP_HEAD;
    for (const HelpEntry& e : ADDED_OPTIONS)
        text += std::string(e.synopsis) + "\n";
    for (const HelpEntry& e : ADDED_OPTIONS)
        text += std::string("\n") + e.paragraph;
    text += HELP_TAIL;
    WriteLines(out, text);
}

Settings ParseCommandLine(int argc, const char* const* argv)
{
    Settings s;
    if (argc <= 1)
        throw UsageErr("");
    Words words(argc, argv);
    std::vector<bool> echoed(std::size_t(argc), true);
    IntWord numProt("option -f <numprot>", 0, MAXCOUNT, s.numProt);
    IntWord numMot("option -f <nummot>", 0, MAXCOUNT, s.numMot);
    IntWord leakType("option -l <leaktype>", 0, 2, s.leakType, "0, 1 or 2");
    IntWord perType("option -p <pertype>", INTMIN, INTMAX, s.perType);
    IntWord pertSize("option -s <pertsize>", INTMIN, INTMAX, s.pertSize);
    CountWord n2p("option -n <Dirichlet prior Neg / Pos>", s.n2p);
    IntWord estimator("option -e <estimator>", 0, 1, s.estimator, "0 or 1");
    CountWord noisePrior("option -b <noise prior>", s.noisePrior);
    while (words.Left() && words.Peek()[0] == '-') {
        const int optAt = words.At();
        const std::string word = words.Next();
        if (word == "--help") {
            s.action = Settings::Action::Help;
            return s;
        }
        if (word == "--version") {
            s.action = Settings::Action::Version;
            return s;
        }
        const char opt = word[1]; // only the second character counts: -lx is -l
        switch (opt) {
        case 'f': {
            const char* np = words.Arg(opt, 2);
            const char* nm = words.Arg(opt, 2);
            numProt.Set(np);
            numMot.Set(nm);
            break;
        }
        case 'l':
            leakType.Set(words.Arg(opt, 1));
            break;
        case 'p':
            perType.Set(words.Arg(opt, 1));
            break;
        case 'd': {
            if (argc - words.At() < 3)
                throw UsageErr("option -d needs 3 arguments");
            std::array<std::string, 3> names;
            for (std::string& n : names)
                n = words.Arg(opt, 3);
            s.ddiFiles = names;
            break;
        }
        case 'n':
            n2p.Set(words.Arg(opt, 1));
            break;
        case 's':
            pertSize.Set(words.Arg(opt, 1));
            break;
        case 'e':
            estimator.Set(words.Arg(opt, 1));
            break;
        case 'b':
            noisePrior.Set(words.Arg(opt, 1));
            break;
        case 't': {
            IntWord threads("option -t <threads>", 1, MAXTHREADS, s.threads);
            threads.Set(words.Arg(opt, 1));
            s.threads = threads.Checked();
            echoed[std::size_t(optAt)] = echoed[std::size_t(optAt) + 1] = false;
            break;
        }
        case 'j': {
            const std::string index = words.Arg(opt, 2);
            const std::string count = words.Arg(opt, 2);
            s.shard = ShardBlock(index, count);
            for (int i = optAt; i < optAt + 3; ++i)
                echoed[std::size_t(i)] = false;
            break;
        }
        default:
            throw UsageErr("unknown option " + Shown(word));
        }
    }

    const int first = words.At();
    if (argc - first != 14)
        throw UsageErr("expected 14 positional arguments after the options, got " + std::to_string(argc - first));
    const char* const* pos = argv + first;

    // The ranges, on the values that count: the last given.
    s.numProt = numProt.Checked();
    s.numMot = numMot.Checked();
    s.leakType = leakType.Checked();
    s.perType = perType.Checked();
    s.n2p = n2p.Checked();
    s.pertSize = pertSize.Checked();
    s.estimator = estimator.Checked();
    s.noisePrior = noisePrior.Checked();
    CountWord aPos("argument <Dirichlet prior: Pos>", s.aPos);
    aPos.Set(pos[10]);
    s.aPos = aPos.Checked();
    // The leak group sizes the leak variables only with leak type 1.
    const char* const group = "argument <# a.a. pairs in leakProb>";
    IntWord leakGroup = s.leakType == 1 ? IntWord(group, 1, INTMAX, 0, Range(1, INTMAX) + " with leak type 1")
                                        : IntWord(group, INTMIN, INTMAX, 0);
    leakGroup.Set(pos[12]);
    s.leakGroup = leakGroup.Checked();

    s.protFile = pos[0];
    s.modelFile = pos[1];
    s.pmFile = pos[2];
    s.motFile = pos[3];
    s.outFile = pos[6];
    s.predictFile = pos[7];
    s.predpairFile = pos[8];
    s.predbindFile = pos[9];
    s.protLenFile = pos[11];
    s.motCoverFile = pos[13];

    s.echo = loglabel::COMMAND_LINE;
    for (int i = 0; i < argc; ++i)
        if (echoed[std::size_t(i)])
            s.echo += std::string(" ") + argv[i];
    s.echo += "\n";
    return s;
}
