#pragma once

// What the report page tests share: a hand-built ReportData, the pages kept
// for the markup check, and ways to pick out one <svg> and its elements.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/report/ReportData.h"

namespace reportpages {

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
        {"ABC1",
         "P12345",
         "Ste5 scaffold protein",
         "Q9Y6K9",
         0.97,
         InteractionView::Status::OBSERVED,
         "interacting",
         {{"Pkinase (PF00069)", "SH2 (PF00017)", 0.93, true}, {"SH3_1 (PF00018)", "Pro-rich (PF00000)", 0.41, true}},
         2},
        {"P67890",
         "P67890",
         "XYZ2",
         "O43521",
         0.74,
         InteractionView::Status::HELD_OUT,
         "not interacting",
         {{"WD40 (PF00400)", "WD40 (PF00400)", 2e-9, false}},
         0},
        {"P11111", "P11111", "P22222", "P22222", 0.5, InteractionView::Status::NEW, "", {}, 0},
    };
    top.explainers = {{"Pkinase (PF00069)", "SH2 (PF00017)", 0.93, 1, 3},
                      {"WD40 (PF00400)", "WD40 (PF00400)", 0.2, 1, 1}};
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

// Keeps a page the test made for check-html.py, which parses it with a real
// HTML parser: the script runs these tests with MOTIFBIND_REPORT_PAGES
// naming a folder and checks every page kept there. Without it, a no-op.
inline void KeepPage(const std::string& html)
{
    const char* folder = std::getenv("MOTIFBIND_REPORT_PAGES");
    if (folder == nullptr || *folder == '\0') {
        return;
    }
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "." + test->name();
    static std::map<std::string, int> kept; // pages per test
    const std::string path = std::string(folder) + "/" + name + "-" + std::to_string(++kept[name]) + ".html";
    std::ofstream out(path, std::ios::binary);
    out << html;
    out.close();
    EXPECT_TRUE(out) << "cannot write " << path;
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

} // namespace reportpages
