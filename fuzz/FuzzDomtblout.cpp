// motifbind-prep's domain reader on HMMER --domtblout, gzip-compressed or
// plain. The first byte chooses hmmscan or hmmsearch columns (bit 0), an
// E-value threshold (bit 1: 1e-5) and isoforms kept (bit 2).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/prep/Domains.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/ToolError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    DomainInput in;
    in.path = "fuzz.domtblout";
    in.format = DomainFormat::DOMTBLOUT;
    in.hmmsearch = (data[0] & 1) != 0;
    if ((data[0] & 2) != 0) {
        in.maxEvalue = 1e-5;
    }
    AccessionRules rules;
    rules.keepIsoforms = (data[0] & 4) != 0;
    LineReader reader(in.path, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    Warnings warnings;
    try {
        const DomainTable t = ReadDomains(reader, in, rules, warnings);
        for (const DomainHit& h : t.hits) {
            // Ranges the reader passes lie inside the protein, from 1.
            const auto length = t.lengths.find(h.protein);
            if (h.start < 1 || h.start > h.end || length == t.lengths.end() || h.end > length->second) {
                __builtin_trap();
            }
        }
    } catch (const ToolError&) {
    }
    return 0;
}
