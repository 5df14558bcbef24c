#include "tools/report/ReportMain.h"

#include "tools/common/Cli.h"

int ReportMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunTool(err, [&] {
        CLI::App app("", "motifbind-report");
        if (!ParseArgs(app, args)) {
            out << app.help();
            return 0;
        }
        return 0;
    });
}
