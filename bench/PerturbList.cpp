#include "bench/PerturbList.h"

#include <algorithm>
#include <fstream>

#include "tools/toolbox/ToolError.h"

namespace {

long BelowBound(const std::vector<int>& motifs, int pertSize)
{
    if (pertSize == -1) {
        return static_cast<long>(motifs.size());
    }
    return static_cast<long>(std::count_if(motifs.begin(), motifs.end(), [&](int m) { return m < pertSize; }));
}

bool InBound(int id, int pertSize) { return pertSize == -1 || id < pertSize; }

} // namespace

PerturbList ChoosePerturbList(const InputSet& set, int perType, int count, int pertSize)
{
    PerturbList list;
    if (count <= 0) {
        return list;
    }
    if (perType == 2) {
        for (const auto& [a, b] : set.activePairs) {
            if (InBound(a, pertSize) && InBound(b, pertSize)) {
                list.entries.emplace_back(a, b);
                if (++list.cycles == count) {
                    break;
                }
            }
        }
        return list;
    }
    for (const auto& [p1, p2] : set.observedPairs) {
        long cycles = 1;
        if (perType == 1 || perType == 3) {
            const long n1 = BelowBound(set.Motifs(p1), pertSize);
            const long n2 = BelowBound(set.Motifs(p2), pertSize);
            cycles = perType == 1 ? n1 + n2 : n1 * n2;
            if (cycles == 0) {
                continue;
            }
            list.cycles += cycles;
        }
        list.entries.emplace_back(p1, p2);
        if (static_cast<int>(list.entries.size()) == count) {
            break;
        }
    }
    return list;
}

void WritePerturbList(const PerturbList& list, const std::string& path)
{
    std::ofstream out(path);
    for (const auto& [a, b] : list.entries) {
        out << a << '\t' << b << '\n';
    }
    out.close();
    if (!out) {
        throw ToolError("cannot write " + path);
    }
}
