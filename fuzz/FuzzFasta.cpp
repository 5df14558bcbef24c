// motifbind-prep's FASTA reader, on plain or gzip-compressed bytes (the
// seeds hold both; a mutated gzip file is mostly damaged gzip). The first
// byte chooses the accession rules: bit 0 any identifier, bit 1 isoforms
// kept.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/prep/Fasta.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/ToolError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    AccessionRules rules;
    rules.anyId = (data[0] & 1) != 0;
    rules.keepIsoforms = (data[0] & 2) != 0;
    LineReader reader("fuzz.fasta", std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    Warnings warnings;
    try {
        for (const auto& [acc, length] : ReadFastaLengths(reader, rules, warnings)) {
            if (acc.empty() || length < 1) {
                __builtin_trap();
            }
        }
    } catch (const ToolError&) {
    }
    return 0;
}
