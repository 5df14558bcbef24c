#include "tools/prep/PrepMain.h"

#include "tools/common/Cli.h"

int PrepMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RunTool(err, [&] {
        CLI::App app("", "motifbind-prep");
        if (!ParseArgs(app, args)) {
            out << app.help();
            return 0;
        }
        return 0;
    });
}
