#pragma once

// What the report page tests share: a hand-built ReportData, a strict checker
// of the page's markup, and ways to pick out one <svg> and its elements.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tools/report/ReportData.h"

namespace htmlcheck {

inline std::string Lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// A finished run with every section filled: two EM phases, three models,
// probabilities in several bins (0 and 1 among them), top interactions by
// display name (observed, held out, new) with their mediating motif pairs,
// motif pairs, perturbations of both signs, two ROC and two PR curves,
// known pairs and tables.
inline ReportData SampleData()
{
    ReportData d;
    d.title = "run-07";
    d.command = "motifbind -f 120 40 -l 1 -p 0 -s -1 ppi_observations.txt ppi_models.txt";
    d.emPhases = {
        {"without DDI", {{0, -1500.5}, {1, -1320}, {2, -1290.25}, {3, -1288}, {4, -1287.9}}},
        {"with DDI", {{0, -1287.9}, {1, -1250}, {2, -1249.5}}},
    };
    d.models = {
        {"protein-protein", 0, "yeast two-hybrid", "OM_BINARY", "0.021 0.7",
         "says interacting for 2.1% of non-interacting pairs (false-positive rate)"},
        {"protein-protein", 1, "", "OM_GAUSSIAN", "0.5 1.2 2.5 0.8", "higher scores for interacting pairs"},
        {"domain-domain", 0, "iPfam", "OM_BINARY", "0.001 0.4", "misses 60% of binding domain pairs"},
    };
    d.interactionProbabilities = {0.0, 0.01, 0.02, 0.3, 0.31, 0.5, 0.74, 0.9, 0.97, 1.0, 1.0};
    d.topMotifPairs = {
        {"Pkinase", "SH2", 0.93, 0.95, 14, 1, 3},
        {"SH3_1", "Pro-rich", 0.71, 0.6, 9, 0, 0},
        {"WD40", "WD40", 0.2, 0.25, 3, 1, 1},
    };
    TopInteractionsView top;
    top.asked = 50;
    top.listed = 11;
    top.predicted = 5;
    top.truth = true;
    top.bindings = true;
    top.rows = {
        {"ABC1", "P12345", "Ste5 scaffold protein", "Q9Y6K9", 0.97, InteractionView::Status::OBSERVED, "interacting",
         {{"Pkinase (PF00069)", "SH2 (PF00017)", 0.93, true}, {"SH3_1 (PF00018)", "Pro-rich (PF00000)", 0.41, true}},
         2},
        {"P67890", "P67890", "XYZ2", "O43521", 0.74, InteractionView::Status::HELD_OUT, "not interacting",
         {{"WD40 (PF00400)", "WD40 (PF00400)", 2e-9, false}}, 0},
        {"P11111", "P11111", "P22222", "P22222", 0.5, InteractionView::Status::NEW, "", {}, 0},
    };
    top.explainers = {{"Pkinase (PF00069)", "SH2 (PF00017)", 0.93, 1, 3}, {"WD40 (PF00400)", "WD40 (PF00400)", 0.2, 1, 1}};
    d.topInteractions = top;
    d.topPerturbations = {
        {"Pkinase \u2013 SH2", -42.5},
        {"SH3_1 \u2013 Pro-rich", -12},
        {"WD40 \u2013 WD40", 3.25},
    };
    TruthView t;
    t.interacting = 40;
    t.notInteracting = 400;
    t.missing = 3;
    t.heldOut = 443;
    t.roc = {{"motifbind", {{0, 0}, {0.05, 0.4}, {0.2, 0.75}, {0.5, 0.9}, {1, 1}}, 0.83},
             {"degree-only baseline", {{0, 0}, {0.3, 0.5}, {1, 1}}, 0.61}};
    t.pr = {{"motifbind", {{0, 1}, {0.4, 0.8}, {0.75, 0.45}, {1, 0.1}}, 0.64},
            {"degree-only baseline", {{0, 0.5}, {0.5, 0.2}, {1, 0.1}}, 0.22}};
    d.truth = t;
    KnownView k;
    k.known = 12;
    k.candidates = 800;
    k.rows = {{10, 3, 0.15}, {50, 6, 0.75}, {100, 8, 1.5}};
    d.known = k;
    d.tables = {"interactions.tsv", "motif_pairs.tsv", "models.tsv"};
    return d;
}

// Elements that have no content and no end tag in HTML.
inline bool IsVoid(const std::string& name)
{
    static const std::set<std::string> VOID = {"area", "base", "br", "col", "embed", "hr", "img",
                                               "input", "link", "meta", "source", "track", "wbr"};
    return VOID.count(name) > 0;
}

// Character data: '<' only as markup, '>' escaped too, '&' only as a
// character reference.
inline void CheckText(std::string_view text, std::vector<std::string>& problems)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '<' || text[i] == '>') {
            problems.push_back("raw " + std::string(1, text[i]) + " in text near: " +
                               std::string(text.substr(i, 40)));
        } else if (text[i] == '&') {
            std::size_t j = i + 1;
            if (j < text.size() && text[j] == '#') {
                ++j;
                const bool hex = j < text.size() && (text[j] == 'x' || text[j] == 'X');
                j += hex ? 1 : 0;
                const std::size_t start = j;
                while (j < text.size() && (hex ? std::isxdigit(static_cast<unsigned char>(text[j]))
                                               : std::isdigit(static_cast<unsigned char>(text[j])))) {
                    ++j;
                }
                if (j == start || j >= text.size() || text[j] != ';') {
                    problems.push_back("bad character reference near: " + std::string(text.substr(i, 20)));
                }
            } else {
                const std::size_t start = j;
                while (j < text.size() && std::isalnum(static_cast<unsigned char>(text[j]))) {
                    ++j;
                }
                if (j == start || j >= text.size() || text[j] != ';') {
                    problems.push_back("bare & near: " + std::string(text.substr(i, 20)));
                }
            }
        }
    }
}

// A link target that stays on this page or in its folder: a fragment, a
// plain relative file name, or the empty data: URL of the favicon.
inline bool LocalTarget(const std::string& tag, const std::string& value)
{
    if (!value.empty() && value[0] == '#') {
        return true;
    }
    if (tag == "link" && value == "data:,") {
        return true;
    }
    return !value.empty() && value.find(':') == std::string::npos && value.find("//") == std::string::npos &&
           value[0] != '/' && value[0] != '\\';
}

// Everything wrong with the page's markup, empty when it is well-formed and
// self-contained.
inline std::vector<std::string> HtmlProblems(const std::string& html)
{
    std::vector<std::string> problems;
    if (html.rfind("<!DOCTYPE html>", 0) != 0) {
        problems.push_back("does not start with <!DOCTYPE html>");
    }
    const std::string lower = Lower(html);
    for (const char* bad : {"<script", "http:", "https:", "//", "@import", "url(", "<iframe", "<object",
                            "<embed", "<img", "javascript:"}) {
        if (lower.find(bad) != std::string::npos) {
            problems.push_back(std::string("contains ") + bad);
        }
    }

    std::vector<std::string> open;
    std::size_t i = 0;
    const std::size_t n = html.size();
    while (i < n) {
        const std::size_t lt = html.find('<', i);
        CheckText(std::string_view(html).substr(i, (lt == std::string::npos ? n : lt) - i), problems);
        if (lt == std::string::npos) {
            break;
        }
        i = lt;
        if (html.compare(i, 4, "<!--") == 0) {
            const std::size_t end = html.find("-->", i);
            if (end == std::string::npos) {
                problems.push_back("unclosed comment");
                break;
            }
            i = end + 3;
            continue;
        }
        if (html.compare(i, 2, "<!") == 0) {
            const std::size_t end = html.find('>', i);
            if (i != 0 || end == std::string::npos) {
                problems.push_back("declaration other than the doctype");
            }
            i = end == std::string::npos ? n : end + 1;
            continue;
        }
        const bool closing = html.compare(i, 2, "</") == 0;
        std::size_t j = i + (closing ? 2 : 1);
        const std::size_t nameStart = j;
        while (j < n && (std::isalnum(static_cast<unsigned char>(html[j])) || html[j] == '-')) {
            ++j;
        }
        const std::string name = Lower(html.substr(nameStart, j - nameStart));
        if (name.empty()) {
            problems.push_back("raw < in text near: " + html.substr(i, 40));
            i = i + 1;
            continue;
        }
        if (closing) {
            while (j < n && html[j] == ' ') {
                ++j;
            }
            if (j >= n || html[j] != '>') {
                problems.push_back("malformed end tag </" + name);
            }
            if (IsVoid(name)) {
                problems.push_back("end tag of void element </" + name + ">");
            } else if (open.empty() || open.back() != name) {
                problems.push_back("</" + name + "> closes <" + (open.empty() ? std::string("nothing") : open.back()) +
                                   ">");
            } else {
                open.pop_back();
            }
            i = j + 1;
            continue;
        }

        // Attributes: name="value", each once.
        std::set<std::string> seen;
        bool selfClosing = false;
        bool ended = false;
        while (j < n) {
            while (j < n && (html[j] == ' ' || html[j] == '\n')) {
                ++j;
            }
            if (j < n && html[j] == '>') {
                ended = true;
                ++j;
                break;
            }
            if (html.compare(j, 2, "/>") == 0) {
                selfClosing = true;
                ended = true;
                j += 2;
                break;
            }
            const std::size_t attrStart = j;
            while (j < n && (std::isalnum(static_cast<unsigned char>(html[j])) || html[j] == '-' ||
                             html[j] == ':' || html[j] == '_')) {
                ++j;
            }
            const std::string attr = Lower(html.substr(attrStart, j - attrStart));
            if (attr.empty() || j >= n || html[j] != '=' || j + 1 >= n || html[j + 1] != '"') {
                problems.push_back("unquoted or malformed attribute in <" + name + "> near: " +
                                   html.substr(attrStart, 30));
                break;
            }
            j += 2;
            const std::size_t valueEnd = html.find('"', j);
            if (valueEnd == std::string::npos) {
                problems.push_back("unterminated attribute value in <" + name + ">");
                j = n;
                break;
            }
            const std::string value = html.substr(j, valueEnd - j);
            CheckText(value, problems);
            if (!seen.insert(attr).second) {
                problems.push_back("repeated attribute " + attr + " in <" + name + ">");
            }
            if (attr.rfind("on", 0) == 0) {
                problems.push_back("event handler attribute " + attr + " in <" + name + ">");
            }
            if ((attr == "href" || attr == "src" || attr == "xlink:href" || attr == "action" ||
                 attr == "srcset" || attr == "poster") &&
                !LocalTarget(name, value)) {
                problems.push_back("non-local " + attr + "=\"" + value + "\" in <" + name + ">");
            }
            j = valueEnd + 1;
        }
        if (!ended) {
            problems.push_back("unterminated tag <" + name + ">");
            break;
        }
        const bool inSvg = std::find(open.begin(), open.end(), "svg") != open.end() || name == "svg";
        if (IsVoid(name)) {
            // Void elements need no end; the page writes them as <meta ... />.
        } else if (selfClosing) {
            if (!inSvg) {
                problems.push_back("self-closed HTML element <" + name + " />");
            }
        } else if (name == "style") {
            const std::size_t end = html.find("</style>", j);
            if (end == std::string::npos) {
                problems.push_back("unclosed <style>");
                break;
            }
            j = end + 8;
        } else {
            open.push_back(name);
        }
        i = j;
    }
    for (const auto& name : open) {
        problems.push_back("<" + name + "> never closed");
    }
    return problems;
}

// The <svg id="..."> element with everything in it, or empty.
inline std::string SvgById(const std::string& html, const std::string& id)
{
    const std::size_t start = html.find("<svg id=\"" + id + "\"");
    if (start == std::string::npos) {
        return "";
    }
    const std::size_t end = html.find("</svg>", start);
    return end == std::string::npos ? "" : html.substr(start, end + 6 - start);
}

inline std::size_t CountOf(const std::string& text, const std::string& what)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) {
        ++count;
    }
    return count;
}

// Every element <tag ...> in the text, as its opening tag.
inline std::vector<std::string> Elements(const std::string& text, const std::string& tag)
{
    std::vector<std::string> out;
    const std::string open = "<" + tag + " ";
    for (std::size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
        out.push_back(text.substr(at, text.find('>', at) + 1 - at));
    }
    return out;
}

// The value of an attribute of an opening tag, or empty.
inline std::string AttrOf(const std::string& element, const std::string& attr)
{
    const std::string key = " " + attr + "=\"";
    const std::size_t at = element.find(key);
    if (at == std::string::npos) {
        return "";
    }
    const std::size_t from = at + key.size();
    return element.substr(from, element.find('"', from) - from);
}

} // namespace htmlcheck
