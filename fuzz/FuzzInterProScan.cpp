// motifbind-prep's domain reader on InterProScan TSV, gzip-compressed or
// plain. The first byte chooses whether only the Pfam analysis is kept
// (bit 0) and an E-value threshold (bit 1: 1e-5).
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
    in.path = "fuzz.tsv";
    in.format = DomainFormat::INTERPROSCAN;
    if ((data[0] & 1) != 0) {
        in.analysis = "Pfam";
    }
    if ((data[0] & 2) != 0) {
        in.maxEvalue = 1e-5;
    }
    LineReader reader(in.path, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    Warnings warnings;
    try {
        const DomainTable t = ReadDomains(reader, in, AccessionRules(), warnings);
        for (const DomainHit& h : t.hits) {
            const auto length = t.lengths.find(h.protein);
            if (h.start < 1 || h.start > h.end || length == t.lengths.end() || h.end > length->second ||
                h.family.empty()) {
                __builtin_trap();
            }
        }
    } catch (const ToolError&) {
    }
    return 0;
}
