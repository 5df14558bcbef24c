// The display names prep keeps: gene names from UniProt FASTA headers,
// aliases from MITAB, family descriptions from InterProScan, a family
// names table over them, and names no table may be broken by. Expected
// tables written out by hand.
#include <gtest/gtest.h>

#include <sstream>

#include "tools/prep/FamilyNames.h"
#include "tools/prep/Fasta.h"
#include "tools/prep/tests/AnnotationFiles.h"
#include "tools/prep/tests/PrepRuns.h"
#include "tools/toolbox/LineReader.h"

namespace {

std::string Residues(std::size_t n) { return std::string(n, 'M') + "\n"; }

// Fifteen MITAB columns: the two interactors, no alternative ids, their
// aliases, then dashes.
std::string Mitab(const std::string& a, const std::string& b, const std::string& aliasA, const std::string& aliasB)
{
    std::string line = "uniprotkb:" + a + "\tuniprotkb:" + b + "\t-\t-\t" + aliasA + "\t" + aliasB;
    for (int i = 6; i < 15; ++i) {
        line += "\t-";
    }
    return line + "\n";
}

std::string InterPro(const std::string& protein, int length, const std::string& family, const std::string& description,
                     int start, int end)
{
    return protein + "\tmd5\t" + std::to_string(length) + "\tPfam\t" + family + "\t" + description + "\t" +
           std::to_string(start) + "\t" + std::to_string(end) + "\t1.0E-10\tT\t01-01-2024\n";
}

class DisplayNamesTest : public AnnotationFiles {
protected:
    void SetUp() override
    {
        AnnotationFiles::SetUp();
        // P11111 has a gene name; P22222's header has none; P33333's holds
        // HTML, kept as it is (the report escapes it); P44444's holds an
        // escape byte; P55555 has no header words at all.
        fasta_ =
            Write("proteins.fasta",
                  ">sp|P11111|KINA_HUMAN Kinase A OS=Homo sapiens OX=9606 GN=KINA PE=1 SV=1\n" + Residues(100) +
                      ">sp|P22222|B_HUMAN Protein B OS=Homo sapiens OX=9606 PE=2 SV=1\n" + Residues(50) +
                      ">sp|P33333|C_HUMAN Protein C GN=<b>C&\"1</b> PE=1\n" + Residues(40) +
                      ">sp|P44444|D_HUMAN Protein D GN=D\x1b[2JE PE=1\n" + Residues(30) + ">P55555\n" + Residues(60));
        // The header's gene name beats an alias; the alias marked as the
        // gene name beats the first; the first line naming a protein wins.
        mitab_ = Write("interactions.mitab",
                       Mitab("P11111", "P22222", "uniprotkb:KINA_ALIAS(gene name)",
                             "psi-mi:b_human(display_long)|uniprotkb:GENEB(gene name)") +
                           Mitab("P22222", "P33333", "uniprotkb:LATER(gene name)", "-") +
                           Mitab("P33333", "P44444", "-", "psi-mi:d_human(display_short)|uniprotkb:DEE(gene name)") +
                           Mitab("P44444", "P55555", "-", "psi-mi:e\x01x(display_short)"));
        domains_ = Write("interpro.tsv", InterPro("P11111", 100, "PF00069", "Protein kinase domain", 10, 60) +
                                             InterPro("P22222", 50, "PF00018", "SH3 domain", 1, 20) +
                                             InterPro("P33333", 40, "PF00018", "SH3 domain", 5, 25) +
                                             InterPro("P44444", 30, "PF00595", "PDZ domain", 1, 20) +
                                             InterPro("P55555", 60, "PF00069", "Protein kinase domain", 1, 30));
    }

    std::vector<std::string> Args(const std::string& out) const
    {
        return {"--out",   out,   "--interactions", mitab_, "--domains", domains_, "--domain-format", "interproscan",
                "--fasta", fasta_};
    }

    std::string fasta_;
    std::string mitab_;
    std::string domains_;
};

TEST_F(DisplayNamesTest, GeneNamesThenAliasesThenAccessionsAndFamilyDescriptions)
{
    const PrepRun r = RunPrep(Args(Path("set")));
    ASSERT_EQ(r.status, 0) << r.err;
    // Covered: 10-60 is 51, 1-20 is 20, 5-25 is 21, 1-20 is 20, 1-30 is 30.
    EXPECT_EQ(Slurp(Path("set/proteins.tsv")),
              "id\taccession\tlength\tcovered\tmotifs\tname\n"
              "0\tP11111\t100\t51\t1\tKINA\n"
              "1\tP22222\t50\t20\t1\tGENEB\n"
              "2\tP33333\t40\t21\t1\t<b>C&\"1</b>\n"
              "3\tP44444\t30\t20\t1\tDEE\n"
              "4\tP55555\t60\t30\t1\tP55555\n");
    // Two carriers each for SH3 and the kinase (PF00018 sorts first), one
    // for PDZ; InterProScan's description is both name and description.
    EXPECT_EQ(Slurp(Path("set/motifs.tsv")),
              "id\tfamily\tname\tproteins\tdescription\n"
              "0\tPF00018\tSH3 domain\t2\tSH3 domain\n"
              "1\tPF00069\tProtein kinase domain\t2\tProtein kinase domain\n"
              "2\tPF00595\tPDZ domain\t1\tPDZ domain\n");
    const std::string summary = Slurp(Path("set/summary.txt"));
    for (const std::string& line : std::vector<std::string>{
             "protein names: 2 gene names from the FASTA headers, 2 aliases from the interaction files, 1 accession "
             "for want of both\n",
             "warning: 1 FASTA gene names with a control character (not used; the accession stands in) (first: " +
                 fasta_ + " line 7)\n",
             "warning: 1 MITAB aliases with a control character (not used as names) (first: " + mitab_ +
                 " line 4)\n"}) {
        EXPECT_NE(summary.find(line), std::string::npos) << line << "\nin:\n" << summary;
    }
    EXPECT_EQ(summary.find("family names:"), std::string::npos) << summary;
}

TEST_F(DisplayNamesTest, AFamilyNamesTableOverridesTheDescriptions)
{
    // By versioned accession, by the annotation's name, one not in the set,
    // a header line, and a line whose name is separated by blanks.
    const std::string names = Write("family-names.tsv",
                                    "family\tname\n"
                                    "# curated\n"
                                    "PF00018.31\t<i>Src</i> homology 3 & co\n"
                                    "PDZ domain\tPSD95/Dlg/ZO-1\n"
                                    "PF99999   Not in the set\n");
    std::vector<std::string> args = Args(Path("set"));
    args.insert(args.end(), {"--family-names", names});
    const PrepRun r = RunPrep(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(Path("set/motifs.tsv")),
              "id\tfamily\tname\tproteins\tdescription\n"
              "0\tPF00018\tSH3 domain\t2\t<i>Src</i> homology 3 & co\n"
              "1\tPF00069\tProtein kinase domain\t2\tProtein kinase domain\n"
              "2\tPF00595\tPDZ domain\t1\tPSD95/Dlg/ZO-1\n");
    EXPECT_NE(Slurp(Path("set/summary.txt")).find("family names: 2 of 3 families named by " + names + " (3 listed)\n"),
              std::string::npos);
}

TEST_F(DisplayNamesTest, FamilyNamesThatWouldBreakATableAreRefusedWithTheirLine)
{
    const struct {
        const char* text;
        std::size_t line;
        const char* says;
    } cases[] = {
        {"PF00018\tSH3\n\nPF00069\n", 3, "no name in 'PF00069'"}, {"PF00018\t\n", 1, "no name"},
        {"PF00018\tSH3\textra\n", 1, "3 tab-separated fields"},   {"PF00018\tSH3\x1b[31m\n", 1, "control character"},
        {"PF00018 SH3\rdomain\n", 1, "control character"},
    };
    for (const auto& c : cases) {
        const std::string path = Write("names.tsv", c.text);
        Warnings w;
        const std::string message = ErrorOf([&] { ReadFamilyNames(path, w); });
        EXPECT_TRUE(IsLineError(message, path, c.line)) << c.text;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
    }
    // A second name for a family is a warning; the first stays.
    const std::string twice = Write("twice.tsv", "PF00018\tSH3\nPF00018.2\tOther\nPF00018\tSH3\n");
    Warnings w;
    EXPECT_EQ(ReadFamilyNames(twice, w), (std::map<std::string, std::string>{{"PF00018", "SH3"}}));
    EXPECT_EQ(w.Total(), 1u);
    // Through prep the refusal names the file and line too, and leaves no folder.
    const std::string bad = Write("bad.tsv", "PF00018\tSH3\x07\n");
    std::vector<std::string> args = Args(Path("set"));
    args.insert(args.end(), {"--family-names", bad});
    const PrepRun r = RunPrep(args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Error: " + bad + " line 1: ", 0), 0u) << r.err;
    EXPECT_FALSE(std::filesystem::exists(Path("set/motifs.tsv")));
}

TEST(FastaGeneNames, OnlyTheGnWordOfAHeaderNamesAProtein)
{
    const std::string text =
        ">sp|P11111|A_HUMAN Desc with GN inside OS=x GN=ABC1 PE=1\nMK\n"
        ">sp|P11111-2|A_HUMAN Isoform GN=ABC1B\nMK\n"
        ">sp|P22222|B_HUMAN Desc\tGN=XYZ\nMK\n"
        ">P33333 GN= PE=1\nMK\n"
        ">P44444 NOGN=Q\nMK\n";
    LineReader in("mem.fasta", text);
    Warnings w;
    const FastaProteins p = ReadFasta(in, AccessionRules{}, w);
    // The isoform's gene name comes after the canonical one: the first stays.
    EXPECT_EQ(p.geneNames, (std::map<std::string, std::string>{{"P11111", "ABC1"}, {"P22222", "XYZ"}}));
    EXPECT_EQ(p.lengths.size(), 4u);
}

} // namespace
