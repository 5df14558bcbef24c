#include "tools/sim/SimMain.h"

#include "tools/sim/SimConfig.h"
#include "tools/sim/Simulator.h"
#include "tools/toolbox/Cli.h"
#include "tools/toolbox/OutputFolder.h"
#include "tools/toolbox/RunCommand.h"

int SimMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunTool(err, [&] {
        SimConfig config;
        CLI::App app("", "motifbind-sim");
        DefineSimOptions(app, config);
        if (!ParseArgs(app, args, out)) {
            FlushOutput(out);
            return 0;
        }
        Validate(config);
        OutputFolder folder(config.outDir);
        // Refuse before the work, and again when the files are put in place.
        folder.CheckUsable();
        const SimulatedSet set = Simulate(config);
        folder.CreateWith(set.files);
        out << "motifbind-sim: wrote " << set.files.size() << " files to " << config.outDir << "\n" << set.summary;
        out << RunLine(config.outDir);
        FlushOutput(out);
        return 0;
    });
}
