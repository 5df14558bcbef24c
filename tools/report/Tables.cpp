#include "tools/report/Tables.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <numeric>

#include "tools/toolbox/Numbers.h"

namespace {

// Longest fraction ComplementText writes in full: beyond it a double
// cannot tell 1 - p from 1 anyway.
constexpr std::size_t MAX_EXACT_DIGITS = 40;

using Row = std::vector<std::string>;

// A table cell: names come from files the user wrote; a tab or line break
// in one would shift the columns.
std::string Cell(std::string text)
{
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return text;
}

void AppendRow(std::string& text, const Row& row)
{
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i > 0) {
            text += '\t';
        }
        text += Cell(row[i]);
    }
    text += '\n';
}

std::string Tsv(const Row& header, const std::vector<Row>& rows)
{
    std::string text;
    AppendRow(text, header);
    for (const Row& r : rows) {
        AppendRow(text, r);
    }
    return text;
}

// Sorts rows by a key, highest first; rows whose key is not a number go
// last; ties keep their order.
std::vector<Row> ByKeyDescending(std::vector<Row> rows, const std::vector<double>& keys)
{
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        const bool nx = std::isnan(keys[x]);
        const bool ny = std::isnan(keys[y]);
        if (nx || ny) {
            return !nx && ny;
        }
        return keys[x] > keys[y];
    });
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (std::size_t i : order) {
        sorted.push_back(std::move(rows[i]));
    }
    return sorted;
}

std::string Optional(const std::optional<LoggedNumber>& x) { return x ? x->text : std::string(); }

double KeyOf(const std::optional<LoggedNumber>& x) { return x ? x->value : std::nan(""); }

// Motif names go into columns of their own when they say more than the
// motif keys.
bool NamesDiffer(const Names& names, const std::vector<int>& motifs)
{
    return std::any_of(motifs.begin(), motifs.end(), [&](int m) { return names.MotifName(m) != names.Motif(m); });
}

// Protein display names go into the last columns, where they shift none of
// the columns before them, when they say more than the accessions.
template <typename R>
bool ProteinNamesDiffer(const Names& names, const std::vector<R>& records, int R::*a, int R::*b)
{
    std::vector<int> ids;
    for (const R& r : records) {
        ids.push_back(r.*a);
        ids.push_back(r.*b);
    }
    return names.ProteinNamesDiffer(ids);
}

std::string InteractionsTable(const Predictions& predictions, const Names& names)
{
    const bool named =
        ProteinNamesDiffer(names, predictions.interactions, &InteractionPrediction::a, &InteractionPrediction::b);
    std::vector<Row> rows;
    std::vector<double> keys;
    for (const InteractionPrediction& r : predictions.interactions) {
        // Ranked by the chance of interacting: the complement of the
        // posterior non-interaction probability, or of the model's own
        // prediction for a pair without observations.
        const LoggedNumber& q = r.posterior ? *r.posterior : r.qc;
        rows.push_back(
            {names.Protein(r.a), names.Protein(r.b), ComplementText(q), r.qw.text, r.qc.text, Optional(r.posterior)});
        if (named) {
            rows.back().insert(rows.back().end(), {names.ProteinName(r.a), names.ProteinName(r.b)});
        }
        keys.push_back(r.InteractionProbability());
    }
    Row header = {"protein_a", "protein_b", "interaction_probability", "q_without_ddi", "q_with_ddi", "posterior"};
    if (named) {
        header.insert(header.end(), {"protein_a_name", "protein_b_name"});
    }
    return Tsv(header, ByKeyDescending(std::move(rows), keys));
}

std::string BindingTable(const Predictions& predictions, const Names& names)
{
    std::vector<int> motifs;
    for (const BindingPrediction& r : predictions.bindings) {
        motifs.push_back(r.motif1);
        motifs.push_back(r.motif2);
    }
    const bool named = NamesDiffer(names, motifs);
    Row header = {"protein_a", "protein_b", "motif_a", "motif_b"};
    if (named) {
        header.insert(header.end(), {"motif_a_name", "motif_b_name"});
    }
    header.insert(header.end(), {"affinity", "conditioned_affinity", "posterior"});
    const bool proteinsNamed =
        ProteinNamesDiffer(names, predictions.bindings, &BindingPrediction::protein1, &BindingPrediction::protein2);
    if (proteinsNamed) {
        header.insert(header.end(), {"protein_a_name", "protein_b_name"});
    }

    std::vector<Row> rows;
    std::vector<double> keys;
    for (const BindingPrediction& r : predictions.bindings) {
        Row row = {names.Protein(r.protein1), names.Protein(r.protein2), names.Motif(r.motif1), names.Motif(r.motif2)};
        if (named) {
            row.insert(row.end(), {names.MotifName(r.motif1), names.MotifName(r.motif2)});
        }
        row.insert(row.end(), {r.affinity.text, r.conditioned.text, Optional(r.posterior)});
        if (proteinsNamed) {
            row.insert(row.end(), {names.ProteinName(r.protein1), names.ProteinName(r.protein2)});
        }
        rows.push_back(std::move(row));
        keys.push_back(KeyOf(r.posterior));
    }
    return Tsv(header, ByKeyDescending(std::move(rows), keys));
}

std::string MotifPairsTable(const RunLog& log, const Names& names, const RunInputs& inputs)
{
    std::vector<int> motifs;
    for (const auto& [pair, affinity] : log.learned.affinities) {
        motifs.push_back(pair.first);
        motifs.push_back(pair.second);
    }
    const bool named = NamesDiffer(names, motifs);
    Row header = {"motif_a", "motif_b"};
    if (named) {
        header.insert(header.end(), {"motif_a_name", "motif_b_name"});
    }
    header.insert(header.end(), {"affinity", "conditioned_affinity", "carriers"});

    std::vector<Row> rows;
    std::vector<double> keys;
    for (const auto& [pair, affinity] : log.learned.affinities) {
        Row row = {names.Motif(pair.first), names.Motif(pair.second)};
        if (named) {
            row.insert(row.end(), {names.MotifName(pair.first), names.MotifName(pair.second)});
        }
        const auto c = log.conditioned.affinities.find(pair);
        std::string carriers;
        if (inputs.present) {
            const auto it = inputs.carriers.find(pair);
            carriers = std::to_string(it == inputs.carriers.end() ? 0 : it->second);
        }
        row.insert(row.end(),
                   {affinity.text, c == log.conditioned.affinities.end() ? std::string() : c->second.text, carriers});
        rows.push_back(std::move(row));
        keys.push_back(affinity.value);
    }
    return Tsv(header, ByKeyDescending(std::move(rows), keys));
}

bool IsProtein(std::string_view column) { return column == "protein_1" || column == "protein_2"; }
bool IsMotif(std::string_view column) { return column == "motif_1" || column == "motif_2"; }

// The digits of a plain decimal or exponent text, as an integer and the
// power of ten that divides it. False for anything else.
bool DecimalDigits(const std::string& text, std::string& digits, long long& scale)
{
    std::size_t i = 0;
    long long fraction = 0;
    bool dot = false;
    for (; i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || (text[i] == '.' && !dot)); ++i) {
        if (text[i] == '.') {
            dot = true;
        } else {
            digits += text[i];
            fraction += dot ? 1 : 0;
        }
    }
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::string_view e = std::string_view(text).substr(i + 1);
        if (!e.empty() && e.front() == '+') {
            e.remove_prefix(1);
        }
        if (!ParseInteger(e, exponent) || exponent < -1000 || exponent > 1000) {
            return false;
        }
        i = text.size();
    }
    if (digits.empty() || i != text.size()) {
        return false;
    }
    scale = fraction - exponent;
    if (scale < 0) {
        digits.append(static_cast<std::size_t>(-scale), '0');
        scale = 0;
    }
    return true;
}

} // namespace

std::string ComplementText(const LoggedNumber& p)
{
    std::string digits;
    long long scale = 0;
    if (!(p.value >= 0.0 && p.value <= 1.0) || !DecimalDigits(p.text, digits, scale) ||
        static_cast<std::size_t>(scale) > MAX_EXACT_DIGITS) {
        return RealText(1.0 - p.value);
    }
    // 10^scale - digits, digit by digit from the right.
    const std::size_t n = static_cast<std::size_t>(scale) + 1;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (digits.size() > n) {
        return RealText(1.0 - p.value);
    }
    std::string minuend(n, '0');
    minuend[0] = '1';
    const std::string subtrahend = std::string(n - digits.size(), '0') + digits;
    std::string result(n, '0');
    int borrow = 0;
    for (std::size_t k = n; k-- > 0;) {
        int d = (minuend[k] - '0') - (subtrahend[k] - '0') - borrow;
        borrow = d < 0 ? 1 : 0;
        d += borrow * 10;
        result[k] = static_cast<char>('0' + d);
    }
    if (borrow != 0) {
        return RealText(1.0 - p.value);
    }
    // result holds (1 - p) * 10^scale: the units digit, then the fraction.
    std::string text(1, result[0]);
    std::string fraction = result.substr(1);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (!fraction.empty()) {
        text += '.';
        text += fraction;
    }
    return text;
}

std::string PerturbationWhat(const PerturbationCycle& c, const Names& names)
{
    switch (c.analysis) {
    case 1:
        return "motif " + names.MotifLabel(c.motif1) + " on " + names.ProteinLabel(c.protein1) + ", with partner " +
               names.ProteinLabel(c.protein2);
    case 2:
        return "motif pair " + names.MotifLabel(c.motif1) + " \u2013 " + names.MotifLabel(c.motif2) +
               ", on every protein pair";
    case 3:
        return "motif " + names.MotifLabel(c.motif1) + " on " + names.ProteinLabel(c.protein1) + ", with motif " +
               names.MotifLabel(c.motif2) + " on partner " + names.ProteinLabel(c.protein2);
    default:
        return c.what;
    }
}

namespace {

// perturbation.tsv's header for a value of a cycle: what it is, for a
// reader who has not seen the log's labels.
std::string PerturbationHeader(int analysis, const std::string& column)
{
    static const std::map<std::string, std::string> HEADERS = {
        {"protein_1", "protein"},
        {"protein_2", "partner"},
        {"num_leak", "leak_variables"},
        {"num_nb_leak", "leak_variables_forced"},
        {"num_act_leak", "leak_variables_free"},
        {"non_interaction_forced", "non_interaction_probability_forced"},
        {"likelihood_change_forced", "log_likelihood_change_forced"},
        {"em_rounds", "em_rounds_to_reconverge"},
        {"non_interaction_reconverged", "non_interaction_probability_reconverged"},
        {"likelihood_change_reconverged", "log_likelihood_change_reconverged"},
        {"positive_likelihood_forced", "log_likelihood_of_positives_forced"},
        {"positive_likelihood_reconverged", "log_likelihood_of_positives_reconverged"},
    };
    if (column == "motif_1") {
        return analysis == 2 ? "motif_a" : "motif";
    }
    if (column == "motif_2") {
        return analysis == 2 ? "motif_b" : "partner_motif";
    }
    const auto it = HEADERS.find(column);
    return it == HEADERS.end() ? column : it->second;
}

} // namespace

// PerturbationColumns of each analysis, made once: a table may take
// millions of cycles.
const std::vector<std::string>& ColumnsOf(int analysis)
{
    static const std::array<std::vector<std::string>, 4> COLUMNS = {std::vector<std::string>(), PerturbationColumns(1),
                                                                    PerturbationColumns(2), PerturbationColumns(3)};
    return analysis >= 1 && analysis <= 3 ? COLUMNS[static_cast<std::size_t>(analysis)] : COLUMNS[0];
}

void PerturbationTable::Add(const PerturbationCycle& c)
{
    const std::vector<std::string>& own = ColumnsOf(c.analysis);
    const unsigned bit = c.analysis >= 1 && c.analysis <= 3 ? 1u << c.analysis : 1u;
    if ((seen_ & bit) == 0) {
        // One run performs one analysis; a log that mixes them gets the
        // columns of all, in the order they first appear.
        seen_ |= bit;
        for (const std::string& name : own) {
            if (std::find(columns_.begin(), columns_.end(), name) == columns_.end()) {
                columns_.push_back(name);
                headers_.push_back(PerturbationHeader(c.analysis, name));
            }
        }
    }
    for (const std::string& name : own) {
        const LoggedNumber* x = c.Value(name);
        if (x != nullptr) {
            cells_ += x->text;
            if (IsMotif(name)) {
                motifs_.insert(static_cast<int>(x->value));
            }
        }
        cells_ += '\t';
    }
    cells_ += Optional(c.effect);
    cells_ += '\n';
    analyses_.push_back(c.analysis);
}

void PerturbationTable::Write(const Names& names, const std::function<void(std::string_view)>& out) const
{
    const std::vector<int> motifs(motifs_.begin(), motifs_.end());
    const bool named = NamesDiffer(names, motifs);
    Row header;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        header.push_back(headers_[i]);
        if (named && IsMotif(columns_[i])) {
            header.push_back(headers_[i] + "_name");
        }
    }
    header.push_back("effect");
    std::string line;
    AppendRow(line, header);
    out(line);

    // Where each column of the table is among a cycle's own, per analysis.
    std::map<int, std::vector<int>> places;
    std::size_t at = 0;
    std::vector<std::string_view> cells;
    for (const int analysis : analyses_) {
        auto [place, added] = places.try_emplace(analysis);
        if (added) {
            const std::vector<std::string>& own = ColumnsOf(analysis);
            for (const std::string& name : columns_) {
                const auto it = std::find(own.begin(), own.end(), name);
                place->second.push_back(it == own.end() ? -1 : static_cast<int>(it - own.begin()));
            }
        }
        const std::size_t end = cells_.find('\n', at);
        cells = TabFields(std::string_view(cells_).substr(at, end - at));
        at = end + 1;
        Row row;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            const std::string& name = columns_[i];
            const int k = place->second[i];
            const std::string_view text = k < 0 ? std::string_view() : cells[static_cast<std::size_t>(k)];
            int id = 0;
            ParseLoggedInt(text, id);
            row.push_back(text.empty()      ? std::string()
                          : IsProtein(name) ? names.Protein(id)
                          : IsMotif(name)   ? names.Motif(id)
                                            : std::string(text));
            if (named && IsMotif(name)) {
                row.push_back(text.empty() ? std::string() : names.MotifName(id));
            }
        }
        row.emplace_back(cells.back());
        line.clear();
        AppendRow(line, row);
        out(line);
    }
}

std::vector<std::pair<std::string, std::string>> ReportTables(const RunLog& log, const Predictions& predictions,
                                                              const Names& names, const RunInputs& inputs)
{
    std::vector<std::pair<std::string, std::string>> tables = {
        {"interactions.tsv", InteractionsTable(predictions, names)},
        {"binding.tsv", BindingTable(predictions, names)},
        {"motif_pairs.tsv", MotifPairsTable(log, names, inputs)},
    };
    if (!log.perturbations.empty()) {
        PerturbationTable table;
        for (const PerturbationCycle& c : log.perturbations) {
            table.Add(c);
        }
        std::string text;
        table.Write(names, [&text](std::string_view line) { text += line; });
        tables.emplace_back(PERTURBATION_TABLE, std::move(text));
    }
    return tables;
}
