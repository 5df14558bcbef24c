#include "tools/prep/PrepMain.h"

#include "tools/common/Cli.h"
#include "tools/common/FileNames.h"
#include "tools/common/OutputFolder.h"
#include "tools/prep/PrepConfig.h"
#include "tools/prep/Preparation.h"
#include "tools/prep/SetFiles.h"

int PrepMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunTool(err, [&] {
        PrepConfig config;
        CLI::App app("", "motifbind-prep");
        DefinePrepOptions(app, config);
        if (!ParseArgs(app, args, out)) {
            return 0;
        }
        Validate(config);
        const OutputFolder folder(config.outDir);
        // Refuse before the work, and again (by exclusive creation) at writing.
        folder.CheckUsable();
        Warnings warnings;
        const PreparedSet set = Prepare(config, warnings);
        const auto files = SetFiles(set, config);
        folder.CreateWith(files);
        out << "motifbind-prep: wrote " << files.size() << " files to " << config.outDir << "\n";
        out << SummaryText(set, config) << warnings.Text();
        out << "run: cd " << config.outDir << " && $(cat " << files::COMMAND << ")\n";
        return 0;
    });
}
