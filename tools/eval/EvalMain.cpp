#include "tools/eval/EvalMain.h"

#include "tools/common/Cli.h"
#include "tools/eval/Evaluation.h"

int EvalMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunTool(err, [&] {
        std::string folder;
        CLI::App app("Judges a motifbind run on simulated data. FOLDER holds the inputs and truth files written "
                     "by motifbind-sim and the run's motifbind.log and predictions.txt. Prints the EM rounds of "
                     "each phase, the final log joint, the rank correlation of learned and planted affinities, and "
                     "the ROC AUC of the posterior non-interaction probabilities of the tested pairs; then, for each phase, "
                     "the rank correlation of the affinities it ended with and the error rates of its binary noise "
                     "models.",
                     "motifbind-eval");
        app.add_option("FOLDER", folder, "data folder of a finished run")->required();
        if (!ParseArgs(app, args, out)) {
            FlushOutput(out);
            return 0;
        }
        out << SummaryText(Evaluate(folder));
        FlushOutput(out);
        return 0;
    });
}
