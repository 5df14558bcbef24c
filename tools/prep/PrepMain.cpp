#include "tools/prep/PrepMain.h"

#include "tools/prep/PrepConfig.h"
#include "tools/prep/Preparation.h"
#include "tools/prep/Provenance.h"
#include "tools/prep/SetFiles.h"
#include "tools/toolbox/Cli.h"
#include "tools/toolbox/OutputFolder.h"
#include "tools/toolbox/RunCommand.h"

int PrepMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunTool(err, [&] {
        PrepConfig config;
        CLI::App app("", "motifbind-prep");
        DefinePrepOptions(app, config);
        if (!ParseArgs(app, args, out)) {
            FlushOutput(out);
            return 0;
        }
        Validate(config);
        OutputFolder folder(config.outDir);
        // Refuse before the work, and again when the files are put in place.
        folder.CheckUsable();
        // The inputs as they are before they are read.
        const std::string provenance = ProvenanceText(args, config);
        Warnings warnings;
        const PreparedSet set = Prepare(config, warnings);
        // The summary goes with the set, so that the set names what made it.
        const std::string summary = SummaryText(set, config) + warnings.Text();
        auto files = SetFiles(set, config);
        files.emplace_back(prepfiles::SUMMARY, summary);
        files.emplace_back(prepfiles::PROVENANCE, provenance);
        folder.CreateWith(files);
        out << "motifbind-prep: wrote " << files.size() << " files to " << config.outDir << "\n" << summary;
        out << RunLine(config.outDir);
        FlushOutput(out);
        return 0;
    });
}
