#include "tools/eval/EvalMain.h"

#include <exception>

#include "tools/eval/Evaluation.h"

namespace {

const char* const USAGE =
    "Usage: motifbind-eval FOLDER\n"
    "Judges a motifbind run on simulated data. FOLDER holds the inputs and truth files written by\n"
    "motifbind-sim and the run's motifbind.log and predictions.txt. Prints the EM rounds of each\n"
    "phase, the final log joint, the rank correlation of learned and planted affinities, and the\n"
    "ROC AUC of the posterior non-interaction probabilities of the tested pairs.\n";

} // namespace

int EvalMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << USAGE;
        return 0;
    }
    if (args.size() != 1) {
        err << "Error: expected one data folder (usage: motifbind-eval FOLDER)\n";
        return 1;
    }
    try {
        out << SummaryText(Evaluate(args[0]));
        return 0;
    } catch (const std::exception& e) {
        // EvalError for the folder's files; anything else is reported alike.
        err << "Error: " << e.what() << "\n";
    }
    return 1;
}
