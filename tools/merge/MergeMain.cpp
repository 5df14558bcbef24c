#include "tools/merge/MergeMain.h"

#include "tools/merge/Merge.h"
#include "tools/toolbox/Cli.h"
#include "tools/toolbox/ToolError.h"

int MergeMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunTool(err, [&] {
        std::vector<std::string> logs, preds, outs;
        RunFiles merged;
        CLI::App app(
            "Joins the shards of one motifbind run, each run with -j INDEX COUNT, into the log, prediction "
            "file and standard output that the run without -j writes. Give each shard's three outputs at "
            "the same place of the three lists, shards in any order; each log's manifest is "
            "'<log>.shard'. Shards of different commands, or whose training outputs differ, are refused "
            "and nothing is written; an existing output is never overwritten.",
            "motifbind-merge");
        app.add_option("--logs", logs, "the shards' logs")->required()->expected(1, -1);
        app.add_option("--predictions", preds, "the shards' prediction files, in the order of --logs")
            ->required()
            ->expected(1, -1);
        app.add_option("--stdouts", outs, "the shards' standard outputs, in the order of --logs")
            ->required()
            ->expected(1, -1);
        app.add_option("--out-log", merged.log, "merged log to create")->required();
        app.add_option("--out-predictions", merged.predictions, "merged prediction file to create")->required();
        app.add_option("--out-stdout", merged.standardOutput, "merged standard output to create")->required();
        if (!ParseArgs(app, args, out)) {
            return 0;
        }
        if (preds.size() != logs.size() || outs.size() != logs.size()) {
            throw ToolError("--logs, --predictions and --stdouts need one file per shard each; got " +
                            std::to_string(logs.size()) + ", " + std::to_string(preds.size()) + " and " +
                            std::to_string(outs.size()));
        }
        std::vector<RunFiles> shards;
        for (std::size_t i = 0; i < logs.size(); ++i) {
            shards.push_back({logs[i], preds[i], outs[i]});
        }
        MergeShards(shards, merged);
        return 0;
    });
}
