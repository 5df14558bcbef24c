#include "tools/eval/EvalMain.h"

#include "tools/eval/Evaluation.h"
#include "tools/toolbox/Cli.h"

int EvalMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunTool(err, [&] {
        std::string folder;
        CLI::App app(
            "Judges a finished motifbind run against the truth of its data folder: a simulated set "
            "written by motifbind-sim (truth_affinities.txt and truth_interactions.txt, the affinities "
            "and interactions it planted), or a set written by motifbind-prep with --holdout "
            "(truth_holdout.txt, whether a source reported each held-out pair). FOLDER holds that set "
            "and the run's motifbind.log and predictions.txt. Prints the EM rounds of each phase and the "
            "final log joint; on a simulated set the rank correlation of learned and planted affinities; "
            "the ROC AUC and average precision of the predicted interactions of the tested (or "
            "held-out) pairs beside a degree-only baseline; then, for each phase, what it learned: the "
            "rank correlation of its affinities (simulated sets) and the error rates of its binary noise "
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
