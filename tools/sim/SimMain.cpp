#include "tools/sim/SimMain.h"

#include <exception>
#include <new>

#include "tools/sim/FileNames.h"
#include "tools/sim/OutputFolder.h"
#include "tools/sim/SimConfig.h"
#include "tools/sim/SimError.h"
#include "tools/sim/Simulator.h"

int SimMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    try {
        if (WantsHelp(args)) {
            out << HelpText();
            return 0;
        }
        const SimConfig config = ParseSimArgs(args);
        const OutputFolder folder(config.outDir);
        // Refuse before the work, and again (by exclusive creation) at writing.
        folder.CheckUsable();
        const SimulatedSet set = Simulate(config);
        folder.Create();
        for (const auto& [name, text] : set.files) {
            folder.Write(name, text);
        }
        out << "motifbind-sim: wrote " << set.files.size() << " files to " << config.outDir << "\n" << set.summary;
        out << "run: cd " << config.outDir << " && $(cat " << files::COMMAND << ")\n";
        return 0;
    } catch (const SimError& e) {
        err << "Error: " << e.what() << "\n";
    } catch (const std::bad_alloc&) {
        err << "Error: out of memory; expected smaller sizes\n";
    } catch (const std::exception& e) {
        err << "Error: " << e.what() << "\n";
    }
    return 1;
}
