// A set simulated by motifbind-sim, written out as the files a biologist
// holds (accession pairs, a domain table with positions, a FASTA file) and
// converted back by motifbind-prep, is the same model up to renumbering.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tools/prep/PrepMain.h"
#include "tools/sim/tests/SimTestSupport.h"

namespace fs = std::filesystem;

namespace {

std::string Accession(int protein)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "P%05d", protein);
    return buf;
}

std::string Family(int motif) { return "FAM" + std::to_string(motif); }

// An unordered family pair, smaller name first.
std::pair<std::string, std::string> Unordered(const std::string& a, const std::string& b)
{
    return a < b ? std::make_pair(a, b) : std::make_pair(b, a);
}

using Content = std::map<std::string, int>; // family -> summed length

struct Table {
    std::vector<std::vector<std::string>> rows; // without the header
};

Table ReadTable(const fs::path& path)
{
    std::istringstream in(ReadFile(path));
    std::string line;
    std::getline(in, line); // header
    Table t;
    while (std::getline(in, line)) {
        std::vector<std::string> row;
        std::istringstream fields(line);
        std::string f;
        while (std::getline(fields, f, '\t')) {
            row.push_back(f);
        }
        t.rows.push_back(row);
    }
    return t;
}

TEST(RoundTripTest, SimulatedSetComesBackUpToRenumbering)
{
    TempDir tmp;
    const fs::path simDir = tmp.File("sim");
    const SimRun sim = RunSim({"--out", simDir.string(), "--proteins", "150", "--motifs", "40", "--pairs", "900",
                               "--repeat-prob", "0.3", "--self-frac", "0.03", "--ddi", "0", "--seed", "5"});
    ASSERT_EQ(sim.status, 0) << sim.err;
    const InputSet set = LoadInputSet(simDir);

    // Reported: pairs with a binary or control observation of exactly 1; the
    // other observed pairs are the listed non-interacting ones.
    std::set<std::pair<int, int>> reported;
    std::set<std::pair<int, int>> observed;
    for (const auto& o : set.observations) {
        const int a = static_cast<int>(o[0]);
        const int b = static_cast<int>(o[1]);
        const std::pair<int, int> p{std::max(a, b), std::min(a, b)};
        observed.insert(p);
        if (o[2] == 1.0) {
            reported.insert(p);
        }
    }
    std::ostringstream ppi;
    ppi << "protein_a\tprotein_b\n";
    int n = 0;
    for (const auto& [a, b] : reported) {
        ppi << Accession(a) << "\t" << Accession(b) << "\n";
        if (n++ % 3 == 0) {
            ppi << Accession(b) << "-2\t" << Accession(a) << "\n"; // the other order, an isoform
        }
    }
    std::ostringstream neg;
    std::set<int> inPairs;
    for (const auto& [a, b] : observed) {
        inPairs.insert(a);
        inPairs.insert(b);
        if (reported.count({a, b}) == 0) {
            neg << Accession(a) << "\t" << Accession(b) << "\n";
        }
    }

    // Domain ranges: each motif's length as one block, copies as two ranges
    // side by side; blocks overlap so that their union is the coverage.
    std::ostringstream dom;
    std::ostringstream fasta;
    for (int p = 0; p < set.numProt; ++p) {
        const auto up = static_cast<std::size_t>(p);
        fasta << ">sp|" << Accession(p) << "|PROT" << p << "_SIM\n"
              << std::string(static_cast<std::size_t>(set.length[up]), 'A') << "\n";
        int sum = 0;
        for (const auto& [m, len] : set.motifs[up]) {
            ASSERT_LE(len, set.coverage[up]);
            sum += len;
        }
        ASSERT_GE(sum, set.coverage[up]);
        ASSERT_LE(set.coverage[up], set.length[up]);
        int end = 0;
        for (const auto& [m, len] : set.motifs[up]) {
            const int start = std::min(end + 1, set.coverage[up] - len + 1);
            const int half = len / 2;
            if (half > 0) {
                dom << Accession(p) << "\t" << Family(m) << "\t" << start << "\t" << start + half - 1 << "\n";
            }
            dom << Accession(p) << "\t" << Family(m) << "\t" << start + half << "\t" << start + len - 1 << "\n";
            end = std::max(end, start + len - 1);
        }
    }
    const auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream(tmp.File(name)) << text;
        return tmp.File(name);
    };
    const std::vector<std::string> args{"--out",           tmp.File("prep"),
                                        "--interactions",  write("ppi.tsv", ppi.str()),
                                        "--negatives",     write("neg.tsv", neg.str()),
                                        "--domains",       write("domains.tsv", dom.str()),
                                        "--domain-format", "tsv",
                                        "--fasta",         write("seq.fasta", fasta.str())};
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(PrepMain(args, out, err), 0) << err.str();
    const fs::path prep = tmp.File("prep");

    // Proteins: those of the observed pairs, with their lengths, coverage and motifs.
    const Table proteins = ReadTable(prep / "proteins.tsv");
    const Table motifs = ReadTable(prep / "motifs.tsv");
    ASSERT_EQ(proteins.rows.size(), inPairs.size());
    std::map<int, int> simOf; // prep protein id -> simulated id
    for (const auto& row : proteins.rows) {
        simOf[std::stoi(row[0])] = std::stoi(row[1].substr(1));
    }
    std::map<int, std::string> familyOf;
    for (const auto& row : motifs.rows) {
        familyOf[std::stoi(row[0])] = row[1];
    }
    std::map<int, Content> prepContent;
    for (const auto& r : ReadRecords(prep / "protein_motifs.txt", 3)) {
        prepContent[simOf.at(static_cast<int>(r[0]))][familyOf.at(static_cast<int>(r[1]))] = static_cast<int>(r[2]);
    }
    std::set<std::string> carried;
    for (const int p : inPairs) {
        const auto up = static_cast<std::size_t>(p);
        Content want;
        for (const auto& [m, len] : set.motifs[up]) {
            want[Family(m)] = len;
            carried.insert(Family(m));
        }
        EXPECT_EQ(prepContent[p], want) << "protein " << p;
    }
    EXPECT_EQ(motifs.rows.size(), carried.size());
    for (const auto& r : ReadRecords(prep / "protein_lengths.txt", 2)) {
        EXPECT_EQ(r[1], set.length[static_cast<std::size_t>(simOf.at(static_cast<int>(r[0])))]);
    }
    for (const auto& r : ReadRecords(prep / "motif_coverage.txt", 2)) {
        EXPECT_EQ(r[1], set.coverage[static_cast<std::size_t>(simOf.at(static_cast<int>(r[0])))]);
    }

    // Observations: one per pair, 1 for reported, 0 for the others.
    std::set<std::tuple<int, int, int>> got;
    for (const auto& r : ReadRecords(prep / "ppi_observations.txt", 5)) {
        const int a = simOf.at(static_cast<int>(r[0]));
        const int b = simOf.at(static_cast<int>(r[1]));
        EXPECT_TRUE(got.emplace(std::max(a, b), std::min(a, b), static_cast<int>(r[2])).second);
    }
    std::set<std::tuple<int, int, int>> want;
    for (const auto& p : observed) {
        want.emplace(p.first, p.second, reported.count(p));
    }
    EXPECT_EQ(got, want);

    // Candidate pairs: every family pair across a reported interaction, and
    // the binding variables they give on the observed pairs.
    std::set<std::pair<std::string, std::string>> candidates;
    for (const auto& [a, b] : reported) {
        for (const auto& [m1, l1] : set.motifs[static_cast<std::size_t>(a)]) {
            for (const auto& [m2, l2] : set.motifs[static_cast<std::size_t>(b)]) {
                candidates.insert(Unordered(Family(m1), Family(m2)));
            }
        }
    }
    std::set<std::pair<std::string, std::string>> prepCandidates;
    for (const auto& r : ReadRecords(prep / "active_motif_pairs.txt", 3)) {
        prepCandidates.insert(Unordered(familyOf.at(static_cast<int>(r[0])), familyOf.at(static_cast<int>(r[1]))));
    }
    EXPECT_EQ(prepCandidates, candidates);
    long long variables = 0;
    for (const auto& [a, b] : observed) {
        for (const auto& [m1, l1] : set.motifs[static_cast<std::size_t>(a)]) {
            for (const auto& [m2, l2] : set.motifs[static_cast<std::size_t>(b)]) {
                variables += static_cast<long long>(candidates.count(Unordered(Family(m1), Family(m2))));
            }
        }
    }
    EXPECT_NE(out.str().find("binding variables: " + std::to_string(variables) + " on"), std::string::npos)
        << out.str();
    EXPECT_GT(variables, 100);
}

} // namespace
