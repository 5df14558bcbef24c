// motifbind-prep's interaction reader on a MITAB (or, told apart by its
// columns, TSV) file, gzip-compressed or plain. The first byte chooses the
// column that names the source (byte % 3: none, detection method, source
// database), whether the format is told by the columns or fixed to MITAB
// (bit 2), and the accession rules (bit 3 any identifier, bit 4 isoforms
// kept).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/prep/Interactions.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/ToolError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::uint8_t mode = data[0];
    InteractionInput in;
    in.path = "fuzz.mitab";
    in.experiment = static_cast<MitabExperiment>(mode % 3);
    in.format = (mode & 4) != 0 ? InteractionFormat::MITAB : InteractionFormat::AUTO;
    AccessionRules rules;
    rules.anyId = (mode & 8) != 0;
    rules.keepIsoforms = (mode & 16) != 0;
    LineReader reader(in.path, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    Warnings warnings;
    try {
        ReadInteractions(reader, in, rules, warnings, [](ListedPair&& p) {
            // What the set is built from: two accessions and a source.
            if (p.a.empty() || p.b.empty() || p.source.empty()) {
                __builtin_trap();
            }
        });
    } catch (const ToolError&) {
    }
    warnings.Text();
    return 0;
}
