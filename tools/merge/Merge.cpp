#include "tools/merge/Merge.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <system_error>

#include "format/LogLabels.h"
#include "tools/merge/ByteFile.h"
#include "tools/merge/Manifest.h"
#include "tools/merge/NewFile.h"
#include "tools/toolbox/ToolError.h"

namespace fs = std::filesystem;

namespace {

using u64 = std::uint64_t;

std::string Num(u64 x) { return std::to_string(x); }

// One shard's outputs and manifest, checked against each other.
struct ShardRun {
    std::string name; // "shard <log>", how messages call it
    ShardManifest m;
    std::unique_ptr<ByteFile> log, pred, out;
};

// Any ToolError of `body` prefixed with the shard's name.
template <typename F>
void Within(const std::string& name, F body)
{
    try {
        body();
    } catch (const ToolError& e) {
        throw ToolError(name + ": " + e.what());
    }
}

ShardRun Load(const RunFiles& f)
{
    ShardRun s;
    s.name = "shard " + f.log;
    Within(s.name, [&] {
        s.m = ReadManifest(f.log + ".shard");
        s.log = std::make_unique<ByteFile>(f.log, "log");
        s.pred = std::make_unique<ByteFile>(f.predictions, "prediction file");
        s.out = std::make_unique<ByteFile>(f.standardOutput, "standard output");
    });
    const ShardManifest& m = s.m;
    if (m.logEnd > s.log->Size()) {
        throw ToolError(s.name + ": the log has " + Num(s.log->Size()) + " bytes, but its manifest puts the end of " +
                        "the perturbation part at byte offset " + Num(m.logEnd) + "; log and manifest do not belong " +
                        "together");
    }
    if (m.outEnd > s.out->Size()) {
        throw ToolError(s.name + ": its standard output '" + f.standardOutput + "' has " + Num(s.out->Size()) +
                        " bytes, but the manifest puts the end of the perturbation part at byte offset " +
                        Num(m.outEnd) + "; is it the standard output of this shard?");
    }
    // Every cycle writes log lines, so an empty block has no perturbation
    // lines and any other block has some.
    const bool noCycle = m.cycles.first == m.cycles.end;
    if (noCycle != (m.logStart == m.logEnd)) {
        throw ToolError(s.name + ": its manifest says cycles " + Num(m.cycles.first) + " to " + Num(m.cycles.end) +
                        " but " + Num(m.logEnd - m.logStart) + " bytes of perturbation lines");
    }
    // The parts copied are the ones the shard wrote: not another block's
    // standard output given in its place, not a changed line.
    if (Checksum(*s.log, m.logStart, m.logEnd) != m.logSum) {
        throw ToolError(s.name + ": its perturbation lines (bytes " + Num(m.logStart) + " to " + Num(m.logEnd) +
                        ") are not those the shard wrote: their checksum differs from the manifest's");
    }
    if (Checksum(*s.out, m.outStart, m.outEnd) != m.outSum) {
        throw ToolError(s.name + ": its standard output '" + f.standardOutput + "' is not the one the shard " +
                        "wrote: the checksum of its perturbation part differs from the manifest's");
    }
    return s;
}

// The first offset at which [aFrom, aTo) of `a` and [bFrom, bTo) of `b`
// differ, counted from aFrom; none when they are equal.
std::optional<u64> Differs(const ByteFile& a, u64 aFrom, u64 aTo, const ByteFile& b, u64 bFrom, u64 bTo)
{
    const u64 na = aTo - aFrom, nb = bTo - bFrom;
    const u64 n = std::min(na, nb);
    const u64 d = FirstDifference(a, aFrom, b, bFrom, n);
    if (d < n || na != nb) {
        return d;
    }
    return std::nullopt;
}

// Shards of different releases are never joined: nothing says that their
// training parts or their manifests mean the same.
void CheckSameVersion(const ShardRun& s, const ShardRun& ref)
{
    if (s.m.version != ref.m.version) {
        throw ToolError(s.name + ": it was made by motifbind version " + Shown(s.m.version) + ", but " + ref.name +
                        " by version " + Shown(ref.m.version) + "; shards of different versions are not merged");
    }
}

const char* const COMMAND_LINE = loglabel::COMMAND_LINE;

void CheckSameCommand(const ShardRun& s, const ShardRun& ref)
{
    const std::string line = s.log->FirstLine(s.m.logStart);
    if (line.rfind(COMMAND_LINE, 0) != 0) {
        throw ToolError(s.name + ": the log does not start with '" + COMMAND_LINE + "'; expected a motifbind log");
    }
    if (&s != &ref && line != ref.log->FirstLine(ref.m.logStart)) {
        throw ToolError(s.name + ": its command line differs from that of " + ref.name +
                        " (only -j may differ between shards of one run)");
    }
}

void CheckSameAnalysis(const ShardRun& s, const ShardRun& ref)
{
    if (s.m.shard.count != ref.m.shard.count) {
        throw ToolError(s.name + ": it is block " + Num(s.m.shard.index) + " of " + Num(s.m.shard.count) + ", but " +
                        ref.name + " is block " + Num(ref.m.shard.index) + " of " + Num(ref.m.shard.count));
    }
    if (s.m.total != ref.m.total) {
        throw ToolError(s.name + ": its analysis has " + Num(s.m.total) + " cycles, that of " + ref.name + " " +
                        Num(ref.m.total));
    }
}

// The shards in block order: each block exactly once, cycle ranges joined.
std::vector<const ShardRun*> InBlockOrder(const std::vector<ShardRun>& shards)
{
    std::map<u64, const ShardRun*> byBlock;
    for (const ShardRun& s : shards) {
        const auto [at, fresh] = byBlock.emplace(s.m.shard.index, &s);
        if (!fresh) {
            throw ToolError("block " + Num(s.m.shard.index) + " of " + Num(s.m.shard.count) +
                            " given twice: " + at->second->name + " and " + s.name);
        }
    }
    const u64 count = shards.front().m.shard.count;
    std::vector<const ShardRun*> order;
    u64 cycle = 0;
    for (u64 b = 0; b < count; ++b) {
        const auto at = byBlock.find(b);
        if (at == byBlock.end()) {
            throw ToolError("block " + Num(b) + " of " + Num(count) + " is missing");
        }
        const ShardRun& s = *at->second;
        if (s.m.cycles.first != cycle) {
            throw ToolError(s.name + ": block " + Num(b) + " of " + Num(count) + " holds cycles " +
                            Num(s.m.cycles.first) + " to " + Num(s.m.cycles.end) +
                            ", but the blocks before it end at cycle " + Num(cycle));
        }
        cycle = s.m.cycles.end;
        order.push_back(&s);
    }
    if (cycle != shards.front().m.total) {
        throw ToolError(order.back()->name + ": the last block ends at cycle " + Num(cycle) + " of " +
                        Num(shards.front().m.total));
    }
    return order;
}

void CheckSameTraining(const ShardRun& s, const ShardRun& ref)
{
    if (const auto d = Differs(*s.log, 0, s.m.logStart, *ref.log, 0, ref.m.logStart)) {
        throw ToolError(s.name + ": its training part differs from that of " + ref.name + " at byte offset " + Num(*d));
    }
    if (const auto d = Differs(*s.log, s.m.logEnd, s.log->Size(), *ref.log, ref.m.logEnd, ref.log->Size())) {
        throw ToolError(s.name + ": the end of its log differs from that of " + ref.name + " at byte offset " +
                        Num(s.m.logEnd + *d));
    }
    if (const auto d = Differs(*s.pred, 0, s.pred->Size(), *ref.pred, 0, ref.pred->Size())) {
        throw ToolError(s.name + ": its prediction file '" + s.pred->Path() + "' differs from that of " + ref.name +
                        " at byte offset " + Num(*d));
    }
    if (const auto d = Differs(*s.out, 0, s.m.outStart, *ref.out, 0, ref.m.outStart)) {
        throw ToolError(s.name + ": its standard output '" + s.out->Path() + "' differs from that of " + ref.name +
                        " before the perturbation part, at byte offset " + Num(*d));
    }
    if (const auto d = Differs(*s.out, s.m.outEnd, s.out->Size(), *ref.out, ref.m.outEnd, ref.out->Size())) {
        throw ToolError(s.name + ": its standard output '" + s.out->Path() + "' differs from that of " + ref.name +
                        " after the perturbation part, at byte offset " + Num(s.m.outEnd + *d));
    }
}

// The merged outputs must be three new, different files.
void CheckOutputs(const RunFiles& out)
{
    const std::vector<std::pair<const char*, const std::string*>> files = {
        {"--out-log", &out.log}, {"--out-predictions", &out.predictions}, {"--out-stdout", &out.standardOutput}};
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code ec;
        if (fs::exists(fs::symlink_status(*files[i].second, ec))) {
            throw ToolError(std::string(files[i].first) + " '" + *files[i].second +
                            "' already exists; it is never overwritten");
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (fs::absolute(*files[i].second).lexically_normal() ==
                fs::absolute(*files[j].second).lexically_normal()) {
                throw ToolError(std::string(files[j].first) + " and " + files[i].first + " name the same file '" +
                                *files[i].second + "'");
            }
        }
    }
}

void Append(NewFile& to, const ByteFile& from, u64 begin, u64 end)
{
    CopyRange(from, begin, end, [&](const char* data, std::size_t n) { to.Write(data, n); });
}

} // namespace

void MergeShards(const std::vector<RunFiles>& files, const RunFiles& out)
{
    if (files.empty()) {
        throw ToolError("no shards given");
    }
    CheckOutputs(out);
    std::vector<ShardRun> shards;
    shards.reserve(files.size());
    for (const RunFiles& f : files) {
        shards.push_back(Load(f));
    }
    const ShardRun& ref = shards.front();
    for (const ShardRun& s : shards) {
        CheckSameVersion(s, ref);
    }
    for (const ShardRun& s : shards) {
        CheckSameCommand(s, ref);
    }
    for (const ShardRun& s : shards) {
        CheckSameAnalysis(s, ref);
    }
    const std::vector<const ShardRun*> order = InBlockOrder(shards);
    for (const ShardRun& s : shards) {
        CheckSameTraining(s, ref);
    }

    NewFile log(out.log, "merged log");
    NewFile pred(out.predictions, "merged prediction file");
    NewFile stdOut(out.standardOutput, "merged standard output");
    Append(log, *ref.log, 0, ref.m.logStart);
    Append(stdOut, *ref.out, 0, ref.m.outStart);
    for (const ShardRun* s : order) {
        Append(log, *s->log, s->m.logStart, s->m.logEnd);
        Append(stdOut, *s->out, s->m.outStart, s->m.outEnd);
    }
    Append(log, *ref.log, ref.m.logEnd, ref.log->Size());
    Append(stdOut, *ref.out, ref.m.outEnd, ref.out->Size());
    Append(pred, *ref.pred, 0, ref.pred->Size());
    log.Close();
    pred.Close();
    stdOut.Close();
    PlaceAll({&log, &pred, &stdOut});
}
