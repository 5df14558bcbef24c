// Interaction lists as biologists have them: hand-written two- or
// three-column tables and PSI-MITAB exports, plain or gzip-compressed. Every
// pair comes back with its line; a bad line ends the reading with one line
// naming the file and line.
#include <gtest/gtest.h>

#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "tools/prep/Interactions.h"
#include "tools/toolbox/ToolError.h"

namespace fs = std::filesystem;

namespace {

class InteractionFiles : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text)
    {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::string WriteGzip(const std::string& name, const std::string& text)
    {
        const std::string path = (dir_ / name).string();
        gzFile f = gzopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f != nullptr) {
            EXPECT_EQ(gzwrite(f, text.data(), static_cast<unsigned>(text.size())), static_cast<int>(text.size()));
            gzclose(f);
        }
        return path;
    }

    std::vector<ListedPair> Read(const std::string& path, InteractionFormat format = InteractionFormat::AUTO,
                                 MitabExperiment experiment = MitabExperiment::NONE)
    {
        InteractionInput in;
        in.path = path;
        in.format = format;
        in.experiment = experiment;
        return ReadInteractions(in, rules_, warnings_);
    }

    testutil::TempDir tmp_;
    const std::filesystem::path dir_ = tmp_.Path();
    AccessionRules rules_;
    Warnings warnings_;
};

void ExpectPair(const ListedPair& p, const std::string& a, const std::string& b, const std::string& source,
                std::size_t line)
{
    EXPECT_EQ(p.a, a) << "line " << line;
    EXPECT_EQ(p.b, b) << "line " << line;
    EXPECT_EQ(p.source, source) << "line " << line;
    EXPECT_EQ(p.line, line);
}

// A MITAB line: the given columns, the rest "-", `total` columns in all.
std::string Mitab(std::vector<std::string> cols, std::size_t total = 15)
{
    cols.resize(total, "-");
    std::string line;
    for (std::size_t i = 0; i < cols.size(); ++i) {
        line += (i == 0 ? "" : "\t") + cols[i];
    }
    return line + "\n";
}

} // namespace

TEST_F(InteractionFiles, TsvColumnsHeaderCommentsAndIsoforms)
{
    const std::string path = Write("pairs.tsv",
                                   "# screen of 2023\n"
                                   "protein_a\tprotein_b\tassay\n"
                                   "P12345\tQ9Y6K9\ttwo hybrid\n"
                                   "\n"
                                   "Q9Y6K9\tP12345\n"
                                   "P12345  P12345   coIP\n"
                                   "A0A024R161-2\tO15111\t\n"
                                   "sp|O15111|IKKA_HUMAN Q9Y6K9\r\n");
    const auto pairs = Read(path);
    ASSERT_EQ(pairs.size(), 5u);
    ExpectPair(pairs[0], "P12345", "Q9Y6K9", "two hybrid", 3);
    ExpectPair(pairs[1], "Q9Y6K9", "P12345", "reported", 5); // both orders come back
    ExpectPair(pairs[2], "P12345", "P12345", "coIP", 6);     // and self pairs
    ExpectPair(pairs[3], "A0A024R161", "O15111", "reported", 7);
    ExpectPair(pairs[4], "O15111", "Q9Y6K9", "reported", 8);
    EXPECT_EQ(warnings_.Total(), 0u);

    rules_.keepIsoforms = true;
    EXPECT_EQ(Read(path, InteractionFormat::TSV)[3].a, "A0A024R161-2");
}

TEST_F(InteractionFiles, PairListsHaveTwoColumnsOrAnOptionalThird)
{
    const std::string two = Write("two.tsv", "A\tB\nP12345\tQ9Y6K9\n");
    const auto pairs = ReadPairList(two, false, rules_, warnings_);
    ASSERT_EQ(pairs.size(), 1u);
    ExpectPair(pairs[0], "P12345", "Q9Y6K9", "", 2);

    const std::string three = Write("three.tsv", "P12345\tQ9Y6K9\tset 1\nO15111 P12345\n");
    const auto withSource = ReadPairList(three, true, rules_, warnings_);
    ASSERT_EQ(withSource.size(), 2u);
    ExpectPair(withSource[0], "P12345", "Q9Y6K9", "set 1", 1);
    ExpectPair(withSource[1], "O15111", "P12345", "", 2);
    EXPECT_THROW(ReadPairList(three, false, rules_, warnings_), ToolError);
}

TEST_F(InteractionFiles, MitabIdentifiersQuotesAndExperiments)
{
    const std::string text =
        std::string("#ID(s) interactor A\tID(s) interactor B\tAlt. ID(s) interactor A\n") +
        // 2.5: plain identifiers.
        Mitab({"uniprotkb:P12345", "uniprotkb:Q9Y6K9", "-", "-", "-", "-", "psi-mi:\"MI:0018\"(two hybrid)", "-", "-",
               "-", "-", "-", "psi-mi:\"MI:0469\"(IntAct)"}) +
        // 2.7: several identifiers, a description, db names in capitals, a
        // method name holding parentheses.
        Mitab({"intact:EBI-1|uniprotkb:P12345-2", "intact:EBI-2|UniProtKB:O15111(isoform)", "-", "-", "-", "-",
               "psi-mi:\"MI:0006\"(anti bait coimmunoprecipitation (coIP))|psi-mi:\"MI:0018\"(two hybrid)", "-", "-",
               "-", "-", "-", "psi-mi:\"MI:0471\"(MINT)"},
              42) +
        // A quoted value holding '|'; the accession only among the
        // alternative identifiers; no parentheses around the method.
        Mitab({"intact:\"EBI|7\"|uniprotkb:\"Q9Y6K9\"", "intact:EBI-3", "-", "intact:EBI-3|uniprotkb:A0A024R161", "-",
               "-", "psi-mi:\"MI:0019\"", "-", "-", "-", "-", "-", "-"}) +
        // A small molecule and a missing interactor B: skipped and counted.
        Mitab({"chebi:\"CHEBI:15422\"", "uniprotkb:P12345"}) + Mitab({"uniprotkb:P12345", "-"});
    const std::string path = Write("ppi.mitab", text);

    const auto none = Read(path);
    ASSERT_EQ(none.size(), 3u);
    ExpectPair(none[0], "P12345", "Q9Y6K9", "reported", 2);
    ExpectPair(none[1], "P12345", "O15111", "reported", 3);
    ExpectPair(none[2], "Q9Y6K9", "A0A024R161", "reported", 4);
    EXPECT_EQ(warnings_.Count("MITAB lines with an interactor without a UniProtKB accession"), 2u);
    EXPECT_NE(warnings_.Text().find(path + " line 5"), std::string::npos) << warnings_.Text();

    const auto method = Read(path, InteractionFormat::MITAB, MitabExperiment::METHOD);
    ASSERT_EQ(method.size(), 3u);
    EXPECT_EQ(method[0].source, "two hybrid");
    EXPECT_EQ(method[1].source, "anti bait coimmunoprecipitation (coIP)");
    EXPECT_EQ(method[2].source, "MI:0019");

    const auto database = Read(path, InteractionFormat::MITAB, MitabExperiment::DATABASE);
    ASSERT_EQ(database.size(), 3u);
    EXPECT_EQ(database[0].source, "IntAct");
    EXPECT_EQ(database[1].source, "MINT");
    EXPECT_EQ(database[2].source, "reported");
}

TEST_F(InteractionFiles, GzipInputIsReadAsThePlainFile)
{
    // A title line without '#' is a header too.
    const std::string text = Mitab({"ID(s) interactor A", "ID(s) interactor B"}) +
                             Mitab({"uniprotkb:P12345", "uniprotkb:Q9Y6K9"}) +
                             Mitab({"uniprotkb:O15111", "uniprotkb:P12345"});
    const auto pairs = Read(WriteGzip("ppi.txt.gz", text));
    ASSERT_EQ(pairs.size(), 2u);
    ExpectPair(pairs[0], "P12345", "Q9Y6K9", "reported", 2);
    ExpectPair(pairs[1], "O15111", "P12345", "reported", 3);

    const auto tsv = Read(WriteGzip("pairs.gz", "P12345\tQ9Y6K9\tY2H\n"));
    ASSERT_EQ(tsv.size(), 1u);
    ExpectPair(tsv[0], "P12345", "Q9Y6K9", "Y2H", 1);
}

struct BadFile {
    const char* name;
    std::string text;
    InteractionFormat format;
    std::size_t line;
    const char* says; // part of the message: the value found or what was expected
};

TEST_F(InteractionFiles, EveryBadLineIsOneErrorNamingFileAndLine)
{
    const std::string mitab = Mitab({"uniprotkb:P12345", "uniprotkb:Q9Y6K9"});
    const std::vector<BadFile> cases = {
        {"four columns", "P12345\tQ9Y6K9\tY2H\textra\n", InteractionFormat::AUTO, 1, "found 4 columns"},
        {"one column", "P12345\tQ9Y6K9\nP12345\n", InteractionFormat::AUTO, 2, "found 1 column"},
        {"not an accession", "P12345\tQ9Y6K9\nP12345\tKIN1_HUMAN\n", InteractionFormat::TSV, 2,
         "unknown accession format 'KIN1_HUMAN'"},
        {"header not first", "# c\nP12345 Q9Y6K9\ngene_a gene_b\n", InteractionFormat::AUTO, 3,
         "unknown accession format 'gene_a'"},
        {"header with one accession", "P12345 interactor_b\n", InteractionFormat::AUTO, 1, "'interactor_b'"},
        {"short MITAB line", mitab + "uniprotkb:P12345\tuniprotkb:Q9Y6K9\t-\n", InteractionFormat::AUTO, 2,
         "found 3 tab-separated columns; expected at least 15"},
        {"identifier without db", mitab + Mitab({"uniprotkb:P12345", "Q9Y6K9"}), InteractionFormat::MITAB, 2,
         "'Q9Y6K9' in column 2"},
        {"unclosed quote", mitab + Mitab({"intact:\"EBI-1|uniprotkb:P12345", "uniprotkb:Q9Y6K9"}),
         InteractionFormat::MITAB, 2, "expected db:value"},
        {"empty identifier column", Mitab({"", "uniprotkb:Q9Y6K9"}), InteractionFormat::MITAB, 1, "column 1 is empty"},
    };
    for (const BadFile& c : cases) {
        const std::string path = Write("bad.txt", c.text);
        try {
            Read(path, c.format);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const ToolError& e) {
            const std::string msg = e.what();
            EXPECT_EQ(msg.rfind(path + " line " + std::to_string(c.line) + ": ", 0), 0u) << c.name << ": " << msg;
            EXPECT_NE(msg.find(c.says), std::string::npos) << c.name << ": " << msg;
            EXPECT_EQ(msg.find('\n'), std::string::npos) << c.name << ": " << msg;
        }
    }
}
