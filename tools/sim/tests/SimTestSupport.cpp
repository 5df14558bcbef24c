#include "tools/sim/tests/SimTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tools/sim/SimMain.h"

namespace fs = std::filesystem;

SimRun RunSim(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    SimRun run;
    run.status = SimMain(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::vector<double>> ReadRecords(const fs::path& path, std::size_t fields)
{
    std::istringstream in(ReadFile(path));
    std::vector<std::vector<double>> records;
    std::vector<double> record;
    std::string token;
    while (in >> token) {
        char* end = nullptr;
        const double x = std::strtod(token.c_str(), &end);
        EXPECT_EQ(end, token.c_str() + token.size()) << path << ": token '" << token << "' is not a number";
        record.push_back(x);
        if (record.size() == fields) {
            records.push_back(record);
            record.clear();
        }
    }
    EXPECT_TRUE(record.empty()) << path << ": incomplete last record";
    return records;
}

Command ReadCommand(const fs::path& folder)
{
    const std::string text = ReadFile(folder / "command.txt");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << "command.txt must be one line";
    std::istringstream in(text);
    std::vector<std::string> words;
    std::string w;
    while (in >> w) {
        words.push_back(w);
    }
    Command cmd;
    if (words.empty()) {
        ADD_FAILURE() << "empty command.txt";
        return cmd;
    }
    cmd.program = words[0];
    // The options motifbind knows and how many words each consumes.
    const std::map<char, std::size_t> arity{{'f', 2}, {'l', 1}, {'p', 1}, {'d', 3},
                                            {'n', 1}, {'s', 1}, {'e', 1}, {'b', 1}};
    std::size_t i = 1;
    while (i < words.size() && words[i][0] == '-') {
        const char letter = words[i].size() == 2 ? words[i][1] : '?';
        const auto it = arity.find(letter);
        if (it == arity.end() || i + it->second >= words.size()) {
            ADD_FAILURE() << "bad option word '" << words[i] << "' in command.txt";
            return cmd;
        }
        cmd.options[letter].assign(words.begin() + static_cast<long>(i) + 1,
                                   words.begin() + static_cast<long>(i + 1 + it->second));
        i += 1 + it->second;
    }
    cmd.positionals.assign(words.begin() + static_cast<long>(i), words.end());
    return cmd;
}

InputSet LoadInputSet(const fs::path& folder)
{
    InputSet set;
    set.folder = folder;
    set.command = ReadCommand(folder);
    if (set.command.positionals.size() != 14 || set.command.options.count('f') == 0) {
        ADD_FAILURE() << "command.txt needs -f and 14 positional arguments";
        return set;
    }
    set.numProt = std::stoi(set.command.options['f'][0]);
    set.numMot = std::stoi(set.command.options['f'][1]);
    set.leakType = set.command.options.count('l') ? std::stoi(set.command.options['l'][0]) : 1;
    set.leakGroup = std::stoi(set.command.positionals[12]);

    const auto n = static_cast<std::size_t>(set.numProt);
    set.length.assign(n, -1);
    set.coverage.assign(n, -1);
    set.motifs.assign(n, {});
    const auto protein = [&](double id) {
        EXPECT_TRUE(id >= 0 && id < set.numProt) << "protein id " << id << " out of range";
        return static_cast<std::size_t>(std::clamp(id, 0.0, set.numProt - 1.0));
    };
    for (const auto& r : ReadRecords(set.Positional(11), 2)) {
        set.length[protein(r[0])] = static_cast<int>(r[1]);
    }
    for (const auto& r : ReadRecords(set.Positional(13), 2)) {
        set.coverage[protein(r[0])] = static_cast<int>(r[1]);
    }
    for (const auto& r : ReadRecords(set.Positional(2), 3)) {
        EXPECT_TRUE(r[1] >= 0 && r[1] < set.numMot) << "motif id " << r[1] << " out of range";
        set.motifs[protein(r[0])].emplace_back(static_cast<int>(r[1]), static_cast<int>(r[2]));
    }
    for (const auto& r : ReadRecords(folder / "truth_affinities.txt", 3)) {
        set.truthAffinity[{static_cast<int>(r[0]), static_cast<int>(r[1])}] = r[2];
    }
    std::istringstream params(ReadFile(folder / "truth_parameters.txt"));
    std::string key;
    double value = 0.0;
    while (params >> key >> value) {
        set.parameters[key] = value;
    }
    set.leak = set.parameters["leak_probability"];
    set.observations = ReadRecords(set.Positional(0), 5);
    set.truthInteractions = ReadRecords(folder / "truth_interactions.txt", 5);
    return set;
}

int LeakCount(const InputSet& set, int p, int q)
{
    if (set.leakType == 0) {
        return 1;
    }
    if (set.leakType == 2) {
        return 0;
    }
    const auto up = static_cast<std::size_t>(p);
    const auto uq = static_cast<std::size_t>(q);
    const long long nonMotif = static_cast<long long>(set.length[up]) * set.length[uq] -
                               static_cast<long long>(set.coverage[up]) * set.coverage[uq];
    return static_cast<int>(std::sqrt(10.0 * static_cast<double>(nonMotif) / set.leakGroup)) + 1;
}

double NonInterProb(const InputSet& set, int p, int q)
{
    double prob = std::pow(1.0 - set.leak, LeakCount(set, p, q));
    // Ordered combinations: a protein with itself meets each pair of two
    // different motifs once in each order.
    for (const auto& [m1, l1] : set.motifs[static_cast<std::size_t>(p)]) {
        for (const auto& [m2, l2] : set.motifs[static_cast<std::size_t>(q)]) {
            const auto it = set.truthAffinity.find({std::max(m1, m2), std::min(m1, m2)});
            if (it != set.truthAffinity.end()) {
                prob *= 1.0 - it->second;
            }
        }
    }
    return prob;
}
