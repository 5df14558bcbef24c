#include "tools/runfiles/PredictionFile.h"

#include <iterator>
#include <string_view>

#include "format/LogLabels.h"
#include "format/PredictionLabels.h"
#include "tools/toolbox/LineReader.h"
#include "tools/toolbox/ToolError.h"

namespace {

const std::string INTERACTION_START = predlabel::INTERACTIONS_START;
const std::string INTERACTION_END = predlabel::INTERACTIONS_END;
const std::string BINDING_START = predlabel::BINDINGS_START;
const std::string BINDING_END = predlabel::BINDINGS_END;
const std::string END = loglabel::END_OF_FILE;

bool StartsWith(std::string_view line, std::string_view prefix) { return line.substr(0, prefix.size()) == prefix; }

bool Id(std::string_view text, int& id) { return ParseLoggedInt(text, id) && id >= 0; }

// "x,y": two numbers joined by a comma.
bool NumberPair(std::string_view text, LoggedNumber& x, LoggedNumber& y)
{
    const std::size_t comma = text.find(',');
    return comma != std::string_view::npos && ParseLoggedNumber(text.substr(0, comma), x) &&
           ParseLoggedNumber(text.substr(comma + 1), y);
}

bool Posterior(std::string_view text, std::optional<LoggedNumber>& posterior)
{
    if (text == "H") {
        posterior.reset();
        return true;
    }
    LoggedNumber x;
    if (!ParseLoggedNumber(text, x)) {
        return false;
    }
    posterior = x;
    return true;
}

enum class Section { NONE, INTERACTIONS, BINDINGS };

} // namespace

Predictions ReadPredictionFile(LineReader& in, const PredictionSinks& sinks)
{
    const std::string& name = in.Path();
    Predictions p;
    p.file = name;
    Section section = Section::NONE;
    std::string text;
    bool empty = true;
    while (!p.complete && in.Next(text)) {
        empty = false;
        const std::string_view line = text;
        const std::size_t no = in.LineNo();
        // A last line without its line break was cut by the end of the run.
        if (!in.LineEnded() && line != END) {
            break;
        }
        const auto bad = [&](const std::string& expected) {
            return LineError(name, no, "expected " + expected + ", got " + Shown(line));
        };
        const std::vector<std::string_view> f = TabFields(line);
        if (section == Section::INTERACTIONS && line == INTERACTION_END) {
            p.interactionsEnded = true;
            section = Section::NONE;
        } else if (section == Section::INTERACTIONS) {
            // i TAB j TAB Qw,Qc TAB posterior-or-H
            InteractionPrediction r;
            r.line = no;
            if (f.size() != 4 || !Id(f[0], r.a) || !Id(f[1], r.b) || !NumberPair(f[2], r.qw, r.qc) ||
                !Posterior(f[3], r.posterior)) {
                throw bad("protein, protein, two probabilities joined by a comma, and a posterior or H");
            }
            ++p.interactionRows;
            if (sinks.interaction) {
                sinks.interaction(std::move(r));
            } else {
                p.interactions.push_back(std::move(r));
            }
        } else if (section == Section::BINDINGS && line == BINDING_END) {
            p.bindingsEnded = true;
            section = Section::NONE;
        } else if (section == Section::BINDINGS) {
            // i TAB j TAB m1 TAB m2 TAB theta,theta_c TAB posterior-or-H
            BindingPrediction r;
            r.line = no;
            if (f.size() != 6 || !Id(f[0], r.protein1) || !Id(f[1], r.protein2) || !Id(f[2], r.motif1) ||
                !Id(f[3], r.motif2) || !NumberPair(f[4], r.affinity, r.conditioned) || !Posterior(f[5], r.posterior)) {
                throw bad("protein, protein, motif, motif, two affinities joined by a comma, and a posterior or H");
            }
            ++p.bindingRows;
            if (sinks.binding) {
                sinks.binding(std::move(r));
            } else {
                p.bindings.push_back(std::move(r));
            }
        } else if (StartsWith(line, INTERACTION_START)) {
            p.hasInteractions = true;
            section = Section::INTERACTIONS;
        } else if (StartsWith(line, BINDING_START)) {
            p.hasBindings = true;
            section = Section::BINDINGS;
        } else if (line == END) {
            p.complete = true;
        }
    }
    if (!p.complete) {
        const auto after = [](std::size_t n, const char* what) {
            return ", after " + std::to_string(n) + " " + what + (n == 1 ? "" : "s");
        };
        if (empty) {
            p.problem = "the prediction file is empty";
        } else if (section == Section::INTERACTIONS) {
            p.problem = "the prediction file ends in its interaction section" + after(p.interactionRows, "pair");
        } else if (section == Section::BINDINGS) {
            p.problem = "the prediction file ends in its binding section" + after(p.bindingRows, "row");
        } else if (p.hasInteractions) {
            p.problem = std::string("the prediction file ends after its ") +
                        (p.hasBindings ? "binding" : "interaction") + " section";
        } else {
            p.problem = "the prediction file ends before its interaction section";
        }
    }
    return p;
}

Predictions ReadPredictionFile(const std::filesystem::path& path)
{
    LineReader in(path.string());
    return ReadPredictionFile(in, PredictionSinks());
}

Predictions ReadPredictionFile(std::istream& in, const std::string& name)
{
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw ToolError("cannot read " + name);
    }
    LineReader reader(name, text);
    return ReadPredictionFile(reader, PredictionSinks());
}

std::map<PairKey, PairPrediction> ReadPredictions(const std::filesystem::path& path)
{
    std::map<PairKey, PairPrediction> byPair;
    PredictionSinks sinks;
    sinks.interaction = [&byPair](InteractionPrediction&& r) {
        PairPrediction& x = byPair[MakePairKey(r.a, r.b)];
        x.prior = r.qc.value;
        x.posterior = r.posterior ? std::optional<double>(r.posterior->value) : std::nullopt;
    };
    // Judging a run needs no binding rows, which may be many times more.
    sinks.binding = [](BindingPrediction&&) {};
    LineReader in(path.string());
    const Predictions p = ReadPredictionFile(in, sinks);
    if (!p.hasInteractions) {
        throw ToolError(path.string() + ": no predicted non-interaction section");
    }
    if (!p.interactionsEnded) {
        throw ToolError(path.string() + ": the predicted non-interaction section does not end");
    }
    return byPair;
}
