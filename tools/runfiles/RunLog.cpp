#include "tools/runfiles/RunLog.h"

#include <array>
#include <iterator>

#include "format/CycleLayout.h"
#include "format/LogLabels.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/Numbers.h"
#include "tools/toolbox/ToolError.h"

namespace {

const std::string COMMAND = loglabel::COMMAND_LINE;
const std::string END = loglabel::END_OF_FILE;

const std::string PHASE_BANNER = loglabel::EM_PHASE;
const std::string PHASE_START = loglabel::EM_START;
const std::string PHASE_CHECK = loglabel::EM_CHECK;
const std::string PHASE_SUMMARY = loglabel::EM_SUMMARY;
const std::string DDI_INIT = loglabel::DDI_INIT;
const std::string DDI_INIT_JOINT = loglabel::DDI_INIT_JOINT;
const std::string BEFORE_PERTURBATION = loglabel::BEFORE_PERTURBATION;

const std::string POTENTIAL = loglabel::POTENTIAL;
// The conditioned copy after the last phase, and after the round that
// brings the domain-domain model in: two spellings.
const std::string CONDITIONED = loglabel::CONDITIONED;
const std::string CONDITIONED_INIT = loglabel::CONDITIONED_INIT;
const std::string AFFINITY_START = loglabel::AFFINITY_START;
const std::string AFFINITY_END = loglabel::AFFINITY_END;
const std::string PAIR_COUNT = loglabel::PAIR_COUNT;
const std::string LEAK = loglabel::LEAK;

const std::string PPI_MODELS = loglabel::PPI_MODELS;
const std::string DDI_MODELS = loglabel::DDI_MODELS;
const std::string MODEL_COUNT = loglabel::MODEL_COUNT;
const std::string MODEL_START = loglabel::MODEL_START;
const std::string MODEL_END = loglabel::MODEL_END;

bool StartsWith(std::string_view line, std::string_view prefix) { return line.substr(0, prefix.size()) == prefix; }

// The effect of a cycle is its likelihood_change_reconverged in all three
// analyses: the log joint after EM re-converged under the forcing minus the
// log joint of the trained model. Type 1 writes it last (line 6 of 6), type
// 2 fourth of five: its lines 2 and 5 hold the log likelihood of the
// noise-free positive observations itself, not a change, and type 3 last
// (line 5 of 5). The other likelihood change of each cycle is taken before
// EM re-converges.
constexpr CycleValue EFFECT = CycleValue::LikelihoodChangeReconverged;

// The analysis and line of a perturbation label.
bool FindCycleLine(std::string_view label, int& analysis, std::size_t& position)
{
    for (int a = 1; const CycleLayout* layout = CycleLayoutOf(a); ++a) {
        for (std::size_t k = 0; k < layout->lines.size(); ++k) {
            if (label == layout->lines[k].label) {
                analysis = a;
                position = k;
                return true;
            }
        }
    }
    return false;
}

std::string Describe(const PerturbationCycle& c)
{
    const std::string m1 = std::to_string(c.motif1);
    switch (c.analysis) {
    case 1:
        return "motif " + m1 + " of protein " + std::to_string(c.protein1) + " with protein " +
               std::to_string(c.protein2);
    case 2:
        return "motif types " + m1 + " and " + std::to_string(c.motif2);
    default:
        return "motif " + m1 + " of protein " + std::to_string(c.protein1) + " with motif " + std::to_string(c.motif2) +
               " of protein " + std::to_string(c.protein2);
    }
}

enum class Stage { SETUP, PHASE, AFTER_PHASE, DDI_INIT, TRAINED, PERTURBATION };

class LogReader {
public:
    LogReader(const std::string& name, const CycleSink& sink) : sink_(sink) { log_.file = name; }

    void Line(std::size_t no, std::string_view line);
    // The log read so far; `complete` when its closing line was reached.
    RunLog Finish(bool complete, bool cutInFirstLine);

private:
    ToolError Bad(const std::string& expected, std::string_view value) const
    {
        return LineError(log_.file, no_, "expected " + expected + ", got " + Shown(value));
    }
    LoggedNumber Number(std::string_view text, const std::string& expected) const;
    int Int(std::string_view text, const std::string& expected) const;
    EmPhase& OpenPhase();

    void AffinityRow(std::string_view line);
    void ModelRow(std::string_view line);
    void EndModels();
    bool Perturbation(std::string_view line);
    // The dumps after a phase's summary end: the phase keeps what it learned.
    void EndPhaseDumps();

    RunLog log_;
    std::size_t no_ = 0;
    Stage stage_ = Stage::SETUP;
    bool afterSummary_ = false;
    std::size_t summaryPhase_ = 0; // index of the phase whose summary was read last
    std::string banner_;           // the last line of asterisks that names a section

    LoggedPotentials* potentials_ = nullptr; // the dump being read, or the one just read
    bool inAffinities_ = false;
    LoggedPotentials discarded_;

    bool inModels_ = false;
    LoggedModelSet models_;
    LoggedModelSet* modelTarget_ = nullptr;
    std::optional<int> modelCount_;

    // The cycle that later lines may still continue: the lines read, as a
    // bit mask, and the last one.
    void CloseCycle();
    const CycleSink& sink_;
    std::optional<PerturbationCycle> open_;
    unsigned openLines_ = 0;
    std::size_t openLast_ = 0;
};

void LogReader::CloseCycle()
{
    if (!open_) {
        return;
    }
    ++log_.cycles;
    log_.completeCycles += open_->complete ? 1 : 0;
    if (sink_) {
        sink_(std::move(*open_));
    } else {
        log_.perturbations.push_back(std::move(*open_));
    }
    open_.reset();
}

LoggedNumber LogReader::Number(std::string_view text, const std::string& expected) const
{
    LoggedNumber x;
    if (!ParseLoggedNumber(text, x)) {
        throw Bad(expected, text);
    }
    return x;
}

int LogReader::Int(std::string_view text, const std::string& expected) const
{
    int x = 0;
    if (!ParseLoggedInt(text, x)) {
        throw Bad(expected, text);
    }
    return x;
}

EmPhase& LogReader::OpenPhase()
{
    // Progress without its banner: the phases come in a fixed order.
    if (log_.phases.empty() || log_.phases.back().finished) {
        EndPhaseDumps();
        EmPhase phase;
        phase.label = log_.phases.empty() ? "without domain-domain evidence" : "with domain-domain evidence";
        log_.phases.push_back(phase);
    }
    stage_ = Stage::PHASE;
    return log_.phases.back();
}

void LogReader::AffinityRow(std::string_view line)
{
    const std::vector<std::string_view> f = TabFields(line);
    const std::string expected = "motif, motif and affinity";
    if (f.size() != 3) {
        throw Bad(expected, line);
    }
    const int m1 = Int(f[0], expected);
    const int m2 = Int(f[1], expected);
    potentials_->affinities[MakePairKey(m1, m2)] = Number(f[2], expected);
}

void LogReader::ModelRow(std::string_view line)
{
    const std::vector<std::string_view> f = TabFields(line);
    const std::string expected =
        "stat size, model id, type and parameters, or a mixture component's weight, type and parameters";
    if (f.size() >= 3 && StartsWith(f[2], "OM_")) {
        LoggedModel m;
        if (!ParseInteger(f[0], m.statSize)) {
            throw Bad(expected, f[0]);
        }
        m.id = Int(f[1], expected);
        m.type = std::string(f[2]);
        for (std::size_t i = 3; i < f.size(); ++i) {
            m.params.push_back(Number(f[i], expected));
        }
        models_.models.push_back(m);
    } else if (f.size() >= 2 && StartsWith(f[1], "OM_") && !models_.models.empty()) {
        LoggedComponent c;
        c.weight = Number(f[0], expected);
        c.type = std::string(f[1]);
        for (std::size_t i = 2; i < f.size(); ++i) {
            c.params.push_back(Number(f[i], expected));
        }
        models_.models.back().components.push_back(c);
    } else {
        throw Bad(expected, line);
    }
}

void LogReader::EndModels()
{
    inModels_ = false;
    if (modelCount_ && static_cast<std::size_t>(*modelCount_) != models_.models.size()) {
        throw LineError(log_.file, no_,
                        "the dump ends after " + std::to_string(models_.models.size()) + " models; expected " +
                            std::to_string(*modelCount_) + ", as its count line says");
    }
    modelCount_.reset();
    if (modelTarget_ != nullptr) {
        *modelTarget_ = models_;
        if (afterSummary_) {
            EmPhase& phase = log_.phases[summaryPhase_];
            (modelTarget_ == &log_.ppiModels ? phase.ppiModels : phase.ddiModels) = models_;
        }
    }
    // The domain-domain models are the last dump of a phase with evidence.
    if (modelTarget_ == &log_.ddiModels && stage_ == Stage::AFTER_PHASE && log_.phases.size() >= 2) {
        stage_ = Stage::TRAINED;
    }
}

void LogReader::EndPhaseDumps()
{
    if (afterSummary_) {
        EmPhase& phase = log_.phases[summaryPhase_];
        phase.learned = log_.learned;
        phase.conditioned = log_.conditioned;
    }
    afterSummary_ = false;
}

bool LogReader::Perturbation(std::string_view line)
{
    const std::size_t tab = line.find('\t');
    int analysis = 0;
    std::size_t position = 0;
    if (tab == std::string_view::npos || !FindCycleLine(line.substr(0, tab), analysis, position)) {
        return false;
    }
    const CycleLayout& format = *CycleLayoutOf(analysis);
    const CycleLine& kind = format.lines[position];
    const std::vector<std::string_view> f = TabFields(line.substr(tab + 1));
    // Made only for a message: a long analysis has millions of these lines.
    const auto expected = [&]() {
        std::string e;
        for (const CycleId id : format.ids) {
            e += e.empty() ? "" : ", ";
            e += CycleIdName(id);
        }
        for (const CycleValue v : kind.values) {
            e += ", ";
            e += CycleValueName(v);
        }
        return e;
    };
    if (f.size() != format.ids.size() + kind.values.size()) {
        throw Bad(expected(), line.substr(tab + 1));
    }
    std::array<int, 4> ids{};
    for (std::size_t i = 0; i < format.ids.size(); ++i) {
        if (!ParseLoggedInt(f[i], ids[i])) {
            throw Bad(expected(), f[i]);
        }
    }

    const auto sameIds = [&](const PerturbationCycle& c) {
        for (std::size_t i = 0; i < format.ids.size(); ++i) {
            if (c.values[i].second.value != ids[i]) {
                return false;
            }
        }
        return true;
    };
    // A line continues the last cycle when it is a later line of the same
    // forced setting; anything else starts a cycle (a log cut short, or a
    // hand-made one, may miss lines).
    const bool continues = open_ && open_->analysis == analysis && openLast_ < position && sameIds(*open_);
    if (!continues) {
        CloseCycle();
        PerturbationCycle c;
        c.analysis = analysis;
        c.line = no_;
        std::size_t all = format.ids.size();
        for (const CycleLine& l : format.lines) {
            all += l.values.size();
        }
        c.values.reserve(all);
        for (std::size_t i = 0; i < format.ids.size(); ++i) {
            const CycleId which = format.ids[i];
            c.values.emplace_back(CycleIdName(which), LoggedNumber{std::string(f[i]), static_cast<double>(ids[i])});
            int& id = which == CycleId::Protein1   ? c.protein1
                      : which == CycleId::Protein2 ? c.protein2
                      : which == CycleId::Motif1   ? c.motif1
                                                   : c.motif2;
            id = ids[i];
        }
        c.what = Describe(c);
        open_ = std::move(c);
        openLines_ = 0;
        openLast_ = 0;
    }
    PerturbationCycle& c = *open_;
    for (std::size_t i = 0; i < kind.values.size(); ++i) {
        const std::string_view text = f[format.ids.size() + i];
        LoggedNumber x;
        int rounds = 0;
        const bool isRounds = kind.values[i] == CycleValue::Rounds;
        if (isRounds ? !ParseLoggedInt(text, rounds) : !ParseLoggedNumber(text, x)) {
            throw Bad(expected(), text);
        }
        if (isRounds) {
            x = LoggedNumber{std::string(text), static_cast<double>(rounds)};
        }
        if (kind.values[i] == EFFECT) {
            c.effect = x;
        }
        c.values.emplace_back(CycleValueName(kind.values[i]), std::move(x));
    }
    openLines_ |= 1u << position;
    openLast_ = position;
    c.complete = openLines_ == (1u << format.lines.size()) - 1;
    // A whole cycle is never continued.
    if (c.complete) {
        CloseCycle();
    }
    return true;
}

void LogReader::Line(std::size_t no, std::string_view line)
{
    no_ = no;
    if (inAffinities_) {
        if (line == AFFINITY_END) {
            inAffinities_ = false;
            potentials_->ended = true;
        } else {
            AffinityRow(line);
        }
        return;
    }
    if (inModels_) {
        if (line == MODEL_END) {
            EndModels();
        } else {
            ModelRow(line);
        }
        return;
    }
    if (StartsWith(line, "*****")) {
        banner_ = std::string(line);
    }

    const auto single = [&](const std::string& prefix, const std::string& expected) {
        return Number(line.substr(prefix.size()), expected);
    };
    const auto twoFields = [&](const std::string& prefix, const std::string& expected, int& first) {
        const std::vector<std::string_view> f = TabFields(line.substr(prefix.size()));
        if (f.size() != 2) {
            throw Bad(expected, line.substr(prefix.size()));
        }
        first = Int(f[0], expected);
        return Number(f[1], expected).value;
    };

    if (line == AFFINITY_START) {
        const bool unconditioned = banner_ == POTENTIAL;
        const bool conditioned = banner_ == CONDITIONED || banner_ == CONDITIONED_INIT;
        potentials_ = afterSummary_ && unconditioned ? &log_.learned
                      : afterSummary_ && conditioned ? &log_.conditioned
                                                     : &discarded_;
        *potentials_ = LoggedPotentials();
        potentials_->present = true;
        potentials_->line = no;
        inAffinities_ = true;
    } else if (StartsWith(line, PAIR_COUNT) && potentials_ != nullptr) {
        const int n = Int(line.substr(PAIR_COUNT.size()), "the number of motif pairs");
        if (static_cast<std::size_t>(n) != potentials_->affinities.size()) {
            throw LineError(log_.file, no,
                            "expected " + std::to_string(potentials_->affinities.size()) +
                                ", the number of motif pairs in the dump above, got " +
                                Shown(line.substr(PAIR_COUNT.size())));
        }
    } else if (StartsWith(line, LEAK) && potentials_ != nullptr) {
        potentials_->leak = single(LEAK, "the leak probability");
        potentials_ = nullptr;
    } else if (StartsWith(line, MODEL_COUNT)) {
        modelCount_ = Int(line.substr(MODEL_COUNT.size()), "the number of models");
    } else if (line == MODEL_START) {
        models_ = LoggedModelSet();
        models_.present = true;
        models_.line = no;
        modelTarget_ = banner_ == PPI_MODELS ? &log_.ppiModels : banner_ == DDI_MODELS ? &log_.ddiModels : nullptr;
        inModels_ = true;
    } else if (StartsWith(line, BEFORE_PERTURBATION)) {
        log_.jointBeforePerturbation = single(BEFORE_PERTURBATION, "the log joint");
        stage_ = Stage::PERTURBATION;
        EndPhaseDumps();
    } else if (Perturbation(line)) {
        stage_ = Stage::PERTURBATION;
        EndPhaseDumps();
    } else if (stage_ == Stage::PERTURBATION) {
        // The re-convergences of the analyses log their EM elsewhere.
    } else if (StartsWith(line, PHASE_BANNER)) {
        EmPhase phase;
        phase.label = line.find("without DDI") != std::string_view::npos ? "without domain-domain evidence"
                                                                         : "with domain-domain evidence";
        EndPhaseDumps();
        log_.phases.push_back(phase);
        stage_ = Stage::PHASE;
    } else if (StartsWith(line, PHASE_START)) {
        OpenPhase().startLogJoint = single(PHASE_START, "the log joint before round 0").value;
    } else if (StartsWith(line, PHASE_CHECK)) {
        EmCheck check;
        check.logJoint = twoFields(PHASE_CHECK, "EM round and log joint", check.round);
        OpenPhase().checks.push_back(check);
    } else if (StartsWith(line, PHASE_SUMMARY)) {
        int rounds = 0;
        const double joint = twoFields(PHASE_SUMMARY, "the number of EM rounds and the log joint", rounds);
        EndPhaseDumps();
        EmPhase& phase = OpenPhase();
        phase.finished = true;
        phase.rounds = rounds;
        phase.logJoint = joint;
        stage_ = Stage::AFTER_PHASE;
        afterSummary_ = true;
        summaryPhase_ = log_.phases.size() - 1;
        // What this phase learned replaces what the one before learned.
        log_.learned = LoggedPotentials();
        log_.conditioned = LoggedPotentials();
        potentials_ = nullptr;
    } else if (line == DDI_INIT) {
        stage_ = Stage::DDI_INIT;
        EndPhaseDumps();
    } else if (StartsWith(line, DDI_INIT_JOINT)) {
        log_.ddiStartLogJoint = single(DDI_INIT_JOINT, "the log joint").value;
    }
}

RunLog LogReader::Finish(bool complete, bool cutInFirstLine)
{
    CloseCycle();
    EndPhaseDumps();
    log_.complete = complete;
    if (complete) {
        return std::move(log_);
    }
    std::string where;
    const std::size_t k = log_.phases.size();
    if (cutInFirstLine) {
        where = "in its first line";
    } else {
        switch (stage_) {
        case Stage::SETUP:
            where = "before EM starts";
            break;
        case Stage::PHASE: {
            const EmPhase& p = log_.phases.back();
            where = "during EM phase " + std::to_string(k) + ", " +
                    (p.checks.empty() ? std::string("before its first check")
                                      : "after round " + std::to_string(p.checks.back().round));
            break;
        }
        case Stage::AFTER_PHASE:
            where = "after EM phase " + std::to_string(k) + ", while the model it learned is written";
            break;
        case Stage::DDI_INIT:
            where = "while the domain-domain model is brought in, after EM phase " + std::to_string(k);
            break;
        case Stage::TRAINED:
            where = "after training, before the perturbation analysis";
            break;
        case Stage::PERTURBATION:
            where = "during the perturbation analysis, after " + std::to_string(log_.CompleteCycles()) + " cycle" +
                    (log_.CompleteCycles() == 1 ? "" : "s");
            break;
        }
    }
    log_.problem = "the log ends " + where;
    return std::move(log_);
}

} // namespace

const LoggedNumber* PerturbationCycle::Value(std::string_view name) const
{
    for (const auto& [n, x] : values) {
        if (n == name) {
            return &x;
        }
    }
    return nullptr;
}

std::vector<std::string> PerturbationColumns(int analysis)
{
    std::vector<std::string> names;
    const CycleLayout* format = CycleLayoutOf(analysis);
    if (format == nullptr) {
        return names;
    }
    for (const CycleId id : format->ids) {
        names.emplace_back(CycleIdName(id));
    }
    for (const CycleLine& l : format->lines) {
        for (const CycleValue v : l.values) {
            names.emplace_back(CycleValueName(v));
        }
    }
    return names;
}

const EmPhase* RunLog::LastFinishedPhase() const
{
    for (auto it = phases.rbegin(); it != phases.rend(); ++it) {
        if (it->finished) {
            return &*it;
        }
    }
    return nullptr;
}

RunLog ReadRunLog(LineReader& in, const CycleSink& sink)
{
    const std::string& name = in.Path();
    std::string line;
    if (!in.Next(line)) {
        throw ToolError(name + " is empty: not a motifbind log (its first line echoes the command line)");
    }
    const bool firstCut = !in.LineEnded();
    if (!StartsWith(line, COMMAND)) {
        throw ToolError(name + ": not a motifbind log (its first line does not start with \"" + COMMAND + " \")");
    }
    std::string_view command = std::string_view(line).substr(COMMAND.size());
    if (!command.empty() && command.front() == ' ') {
        command.remove_prefix(1);
    }
    const std::string commandLine(command);

    // Every line motifbind writes ends with a line break; a last line
    // without one was cut by the end of the run and is left out, unless it
    // is the closing line itself.
    LogReader reader(name, sink);
    bool complete = false;
    while (!complete && !firstCut && in.Next(line)) {
        if (!in.LineEnded() && line != END) {
            break;
        }
        complete = line == END;
        if (!complete) {
            reader.Line(in.LineNo(), line);
        }
    }
    RunLog log = reader.Finish(complete, firstCut);
    log.commandLine = commandLine;
    return log;
}

RunLog ReadRunLog(const std::filesystem::path& path, const CycleSink& sink)
{
    LineReader in(path.string());
    return ReadRunLog(in, sink);
}

RunLog ReadRunLog(const std::filesystem::path& path) { return ReadRunLog(path, CycleSink()); }

RunLog ReadRunLog(std::istream& in, const std::string& name)
{
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw ToolError("cannot read " + name);
    }
    LineReader reader(name, text);
    return ReadRunLog(reader, CycleSink());
}
