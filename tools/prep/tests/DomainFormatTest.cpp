// Domain annotations in the four formats read: which columns give the
// protein, the family key and name, the range and the E-value, and the lines
// refused. The proteins below carry a kinase domain overlapped by a second
// kinase family, an SH3 domain split by an insert (two ranges of one
// family) and a WD40 repeat three times.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/prep/Domains.h"
#include "tools/prep/tests/AnnotationFiles.h"

namespace {

class DomainFormatTest : public AnnotationFiles {
protected:
    DomainTable Read(DomainFormat format, const std::string& text, double maxEvalue = 1e9,
                     const std::string& analysis = "", bool hmmsearch = false)
    {
        DomainInput in;
        in.path = Write("domains.txt", text);
        in.format = format;
        in.maxEvalue = maxEvalue;
        in.analysis = analysis;
        in.hmmsearch = hmmsearch;
        Warnings warnings;
        return ReadDomains(in, AccessionRules{}, warnings);
    }
};

// "PROTEIN FAMILY NAME START-END line N", one per hit.
std::vector<std::string> Hits(const DomainTable& t)
{
    std::vector<std::string> v;
    for (const DomainHit& h : t.hits) {
        v.push_back(h.protein + " " + h.family + " " + h.name + " " + std::to_string(h.start) + "-" +
                    std::to_string(h.end) + " line " + std::to_string(h.line));
    }
    return v;
}

const char* const HMMSCAN =
    "#                                                                            --- full sequence --- -------------- this domain -------------   hmm coord   ali coord   env coord\n"
    "# target name        accession   tlen query name           accession   qlen   E-value  score  bias   #  of  c-Evalue  i-Evalue  score  bias  from    to  from    to  from    to  acc description of target\n"
    "Pkinase              PF00069.25   264 sp|P12345|KIN1_HUMAN -            420   1.2e-70  236.1   0.0   1   1   3.1e-74   2.0e-70  235.4   0.0     1   264   150   405   148   407 0.95 Protein kinase domain\n"
    "PK_Tyr_Ser-Thr       PF07714.19   259 sp|P12345|KIN1_HUMAN -            420   3.4e-40  137.2   0.0   1   1   8.0e-44   5.1e-40  136.6   0.0     3   255   152   400   150   402 0.93 Protein tyrosine and serine/threonine kinase\n"
    "SH3_1                PF00018.31    48 sp|P12345|KIN1_HUMAN -            420   2.2e-12   45.0   0.1   1   2   1.0e-08   6.5e-05   23.1   0.0     1    22    20    41    20    43 0.90 SH3 domain\n"
    "SH3_1                PF00018.31    48 sp|P12345|KIN1_HUMAN -            420   2.2e-12   45.0   0.1   2   2   2.0e-08   1.3e-04   22.0   0.0    23    48    70    96    68    97 0.91 SH3 domain\n"
    "WD40                 PF00400.35    39 Q9Y6K9               -            300   1.0e-20   75.0   5.0   1   3   1.1e-07   7.0e-04   20.1   0.1     2    38    10    46     9    47 0.92 WD domain, G-beta repeat\n"
    "WD40                 PF00400.35    39 Q9Y6K9               -            300   1.0e-20   75.0   5.0   2   3   1.5e-07   9.9e-04   19.5   0.1     2    38    55    92    54    93 0.92 WD domain, G-beta repeat\n"
    "WD40                 PF00400.35    39 Q9Y6K9               -            300   1.0e-20   75.0   5.0   3   3   1.2e-07   7.7e-04   19.9   0.1     1    39   101   139   100   140 0.94 WD domain, G-beta repeat\n"
    "Ank_2                PF12796.10    91 Q9Y6K9               -            300   1.0e-05   30.0   0.0   1   1   1.0e-06   5.0e-01    8.0   0.0     5    60   200   250   198   252 0.80 Ankyrin repeats (3 copies)\n"
    "my_zf_model          -             28 Q9Y6K9               -            300   3.0e-06   28.0   0.0   1   1   1.0e-09   2.0e-06   27.5   0.0     1    28   260   286   259   288 0.88 -\n"
    "#\n"
    "# Program:         hmmscan\n"
    "# [ok]\n";

TEST_F(DomainFormatTest, HmmscanDomtbloutGivesEnvelopesOfTheQueryProteins)
{
    const DomainTable all = Read(DomainFormat::DOMTBLOUT, HMMSCAN);
    const std::vector<std::string> expected{
        "P12345 PF00069 Pkinase 148-407 line 3",
        "P12345 PF07714 PK_Tyr_Ser-Thr 150-402 line 4",
        "P12345 PF00018 SH3_1 20-43 line 5",
        "P12345 PF00018 SH3_1 68-97 line 6",
        "Q9Y6K9 PF00400 WD40 9-47 line 7",
        "Q9Y6K9 PF00400 WD40 54-93 line 8",
        "Q9Y6K9 PF00400 WD40 100-140 line 9",
        "Q9Y6K9 PF12796 Ank_2 198-252 line 10",
        "Q9Y6K9 my_zf_model my_zf_model 259-288 line 11",
    };
    EXPECT_EQ(Hits(all), expected);
    EXPECT_EQ(all.lengths, (std::map<std::string, int>{{"P12345", 420}, {"Q9Y6K9", 300}}));
    EXPECT_EQ(all.aboveEvalue, 0u);
    // The free text after the fixed columns describes the family, blanks
    // and all; "-" is none.
    std::vector<std::string> descriptions;
    for (const DomainHit& h : all.hits) {
        descriptions.push_back(h.description);
    }
    EXPECT_EQ(descriptions, (std::vector<std::string>{
                                "Protein kinase domain", "Protein tyrosine and serine/threonine kinase", "SH3 domain",
                                "SH3 domain", "WD domain, G-beta repeat", "WD domain, G-beta repeat",
                                "WD domain, G-beta repeat", "Ankyrin repeats (3 copies)", ""}));

    // Ank_2 is significant as a sequence and conditionally, not by its
    // independent E-value.
    const DomainTable significant = Read(DomainFormat::DOMTBLOUT, HMMSCAN, 0.01);
    std::vector<std::string> kept = expected;
    kept.erase(kept.begin() + 7);
    EXPECT_EQ(Hits(significant), kept);
    EXPECT_EQ(significant.aboveEvalue, 1u);
}

TEST_F(DomainFormatTest, HmmsearchDomtbloutTakesTheProteinsFromTheTargets)
{
    // The HMM length (qlen 264) is below the envelope end: only the
    // protein's length (tlen) bounds it.
    const DomainTable t = Read(
        DomainFormat::DOMTBLOUT,
        "sp|P12345|KIN1_HUMAN -            420 Pkinase              PF00069.25   264   1.2e-70  236.1   0.0   1   1   3.1e-74   2.0e-70  235.4   0.0     1   264   150   405   148   407 0.95 Serine/threonine kinase OS=Homo sapiens\n"
        "tr|A0A024R161|A0A024R161_HUMAN -  610 Pkinase              PF00069.25   264   4.0e-50  170.3   0.2   1   1   1.0e-53   8.0e-50  169.0   0.2     2   262   301   560   300   566 0.90 Uncharacterized protein\n",
        1e9, "", true);
    EXPECT_EQ(Hits(t), (std::vector<std::string>{"P12345 PF00069 Pkinase 148-407 line 1",
                                                 "A0A024R161 PF00069 Pkinase 300-566 line 2"}));
    EXPECT_EQ(t.lengths, (std::map<std::string, int>{{"P12345", 420}, {"A0A024R161", 610}}));
    // Here the description is the protein's, not the family's.
    for (const DomainHit& h : t.hits) {
        EXPECT_EQ(h.description, "") << h.protein;
    }
}

TEST_F(DomainFormatTest, PfamScanGivesEnvelopesWithoutLengths)
{
    const DomainTable t = Read(
        DomainFormat::PFAMSCAN,
        "# pfam_scan.pl, run on proteins.fasta\n"
        "#\n"
        "# <seq id> <alignment start> <alignment end> <envelope start> <envelope end> <hmm acc> <hmm name> <type> <hmm start> <hmm end> <hmm length> <bit score> <E-value> <significance> <clan>\n"
        "\n"
        "sp|P12345|KIN1_HUMAN    150    405    148    407 PF00069.25  Pkinase           Domain     1   264   264    235.4   2.0e-70   1 CL0016   predicted_active_site[270,272]\n"
        "sp|P12345|KIN1_HUMAN     20     41     20     43 PF00018.31  SH3_1             Domain     1    22    48     23.1   6.5e-05   1 No_clan\n"
        "sp|P12345|KIN1_HUMAN     70     96     68     97 PF00018.31  SH3_1             Domain    23    48    48     22.0   1.3e-04   1 No_clan\n"
        "Q9Y6K9-2                 10     46      9     47 PF00400.35  WD40              Repeat     2    38    39     20.1   7.0e-04   1 CL0186\n"
        "Q9Y6K9-2                200    250    198    252 PF12796.10  Ank_2             Family     5    60    91      8.0   5.0e-01   0 CL0465\n",
        0.01);
    EXPECT_EQ(Hits(t),
              (std::vector<std::string>{"P12345 PF00069 Pkinase 148-407 line 5", "P12345 PF00018 SH3_1 20-43 line 6",
                                        "P12345 PF00018 SH3_1 68-97 line 7", "Q9Y6K9 PF00400 WD40 9-47 line 8"}));
    EXPECT_TRUE(t.lengths.empty());
    EXPECT_EQ(t.aboveEvalue, 1u);
}

const char* const INTERPRO =
    "P12345\t3b9c1f2a7d4e6f8a0b1c2d3e4f5a6b7c\t420\tPfam\tPF00069\tProtein kinase domain\t148\t407\t2.0E-70\tT\t12-03-2024\tIPR000719\tProtein kinase domain\tGO:0004672|GO:0005524\t-\n"
    "P12345\t3b9c1f2a7d4e6f8a0b1c2d3e4f5a6b7c\t420\tSMART\tSM00220\tSerine/Threonine protein kinases, catalytic domain\t145\t410\t1.5E-90\tT\t12-03-2024\tIPR002290\tSerine/threonine/dual specificity protein kinase, catalytic  domain\t-\t-\n"
    "P12345\t3b9c1f2a7d4e6f8a0b1c2d3e4f5a6b7c\t420\tMobiDBLite\tmobidb-lite\tconsensus disorder prediction\t1\t18\t-\tT\t12-03-2024\n"
    "P12345\t3b9c1f2a7d4e6f8a0b1c2d3e4f5a6b7c\t420\tPfam\tPF00018\tSH3 domain\t20\t43\t6.5E-5\tT\t12-03-2024\tIPR001452\tSH3 domain\n"
    "P12345\t3b9c1f2a7d4e6f8a0b1c2d3e4f5a6b7c\t420\tPfam\tPF00018\tSH3 domain\t68\t97\t1.3E-4\tT\t12-03-2024\tIPR001452\tSH3 domain\n"
    "Q9Y6K9\t9f8e7d6c5b4a39281706f5e4d3c2b1a0\t300\tPRINTS\tPR00320\tG-protein beta WD-40 repeat signature\t30\t44\t4.4E-6\tT\t12-03-2024\tIPR020472\tG-protein beta WD-40 repeat\n"
    "Q9Y6K9\t9f8e7d6c5b4a39281706f5e4d3c2b1a0\t300\tPfam\tPF00400.35\t-\t9\t47\t7.0E-4\tT\t12-03-2024\n"
    "Q9Y6K9\t9f8e7d6c5b4a39281706f5e4d3c2b1a0\t300\tPfam\tPF12796\tAnkyrin repeats (3 copies)\t198\t252\t0.5\tT\t12-03-2024\n";

TEST_F(DomainFormatTest, InterProScanKeepsSignaturesAndLengths)
{
    const DomainTable all = Read(DomainFormat::INTERPROSCAN, INTERPRO, 0.01);
    EXPECT_EQ(Hits(all), (std::vector<std::string>{
                             "P12345 PF00069 Protein kinase domain 148-407 line 1",
                             "P12345 SM00220 Serine/Threonine protein kinases, catalytic domain 145-410 line 2",
                             "P12345 mobidb-lite consensus disorder prediction 1-18 line 3",
                             "P12345 PF00018 SH3 domain 20-43 line 4",
                             "P12345 PF00018 SH3 domain 68-97 line 5",
                             "Q9Y6K9 PR00320 G-protein beta WD-40 repeat signature 30-44 line 6",
                             "Q9Y6K9 PF00400 PF00400 9-47 line 7",
                         }));
    EXPECT_EQ(all.lengths, (std::map<std::string, int>{{"P12345", 420}, {"Q9Y6K9", 300}}));
    EXPECT_EQ(all.aboveEvalue, 1u);
    EXPECT_EQ(all.otherAnalyses, 0u);

    const DomainTable pfam = Read(DomainFormat::INTERPROSCAN, INTERPRO, 1e9, "pfam");
    EXPECT_EQ(Hits(pfam),
              (std::vector<std::string>{"P12345 PF00069 Protein kinase domain 148-407 line 1",
                                        "P12345 PF00018 SH3 domain 20-43 line 4",
                                        "P12345 PF00018 SH3 domain 68-97 line 5", "Q9Y6K9 PF00400 PF00400 9-47 line 7",
                                        "Q9Y6K9 PF12796 Ankyrin repeats (3 copies) 198-252 line 8"}));
    EXPECT_EQ(pfam.otherAnalyses, 3u);
    EXPECT_EQ(pfam.aboveEvalue, 0u);
}

TEST_F(DomainFormatTest, PlainListSkipsOnlyALeadingHeader)
{
    const char* const body =
        "P12345\tPkinase\t148\t407\n"
        "P12345  SH3  20  43\n"
        "\n"
        "sp|P12345|KIN1_HUMAN\tSH3\t68\t97\n"
        "Q9Y6K9-2 WD40 9 47\n";
    const std::vector<std::string> hits{"P12345 Pkinase Pkinase 148-407 line 3", "P12345 SH3 SH3 20-43 line 4",
                                        "P12345 SH3 SH3 68-97 line 6", "Q9Y6K9 WD40 WD40 9-47 line 7"};
    EXPECT_EQ(Hits(Read(DomainFormat::TSV, std::string("# curated by hand\naccession\tdomain\tstart\tend\n") + body)),
              hits);

    const DomainTable plain = Read(DomainFormat::TSV, body);
    ASSERT_EQ(plain.hits.size(), 4u);
    EXPECT_EQ(plain.hits[0].line, 1u);
    EXPECT_TRUE(plain.lengths.empty());
}

TEST_F(DomainFormatTest, MalformedLinesAreRefusedWithOneMessage)
{
    const std::string kinase =
        "Pkinase PF00069.25 264 P12345 - 420 1.2e-70 236.1 0.0 1 1 3.1e-74 2.0e-70 235.4 0.0 1 264 150 405 148 407 0.95 Protein kinase domain\n";
    struct Case {
        DomainFormat format;
        std::string text;
        std::size_t line;
        const char* shown;
    };
    const Case cases[] = {
        {DomainFormat::DOMTBLOUT, "# hmmscan\nPkinase PF00069.25 264 P12345 - 420 1.2e-70 236.1 0.0 1 1\n", 2,
         "found 11"},
        {DomainFormat::DOMTBLOUT,
         "Pkinase PF00069.25 264 P12345 - 400 1.2e-70 236.1 0.0 1 1 3.1e-74 2.0e-70 235.4 0.0 1 264 150 405 148 407 0.95 Protein kinase\n",
         1, "env to 407 is past the protein length 400"},
        {DomainFormat::DOMTBLOUT,
         kinase +
             "SH3_1 PF00018.31 48 sp|P12345-2|KIN1_HUMAN - 380 2.2e-12 45.0 0.1 1 1 1.0e-08 6.5e-05 23.1 0.0 1 22 20 41 20 43 0.90 SH3\n",
         2, "qlen 380 here but 420 at line 1"},
        {DomainFormat::DOMTBLOUT,
         "Pkinase PF00069.25 264 P12345 - 420 1.2e-70 236.1 0.0 1 1 3.1e-74 n/a 235.4 0.0 1 264 150 405 148 407 0.95 Protein kinase\n",
         1, "i-Evalue 'n/a' is not a number"},
        {DomainFormat::PFAMSCAN, "P12345 150 405 0 407 PF00069.25 Pkinase Domain 1 264 264 235.4 2.0e-70 1 CL0016\n", 1,
         "envelope start '0' is not a positive integer"},
        {DomainFormat::PFAMSCAN,
         "\nKIN1_HUMAN 150 405 148 407 PF00069.25 Pkinase Domain 1 264 264 235.4 2.0e-70 1 CL0016\n", 2,
         "unknown accession format 'KIN1_HUMAN'"},
        {DomainFormat::INTERPROSCAN, "P12345 md5 420 Pfam PF00069 Protein_kinase 148 407 2.0E-70 T 12-03-2024\n", 1,
         "found 1 tab-separated"},
        {DomainFormat::INTERPROSCAN,
         "P12345\tmd5\t420\tPfam\tPF00069\tProtein kinase\t148\t427\t2.0E-70\tT\t12-03-2024\n", 1,
         "stop 427 is past the protein length 420"},
        {DomainFormat::INTERPROSCAN,
         "P12345\tmd5\t-\tPfam\tPF00069\tProtein kinase\t148\t407\t2.0E-70\tT\t12-03-2024\n", 1,
         "sequence length '-' is not a positive integer"},
        // An empty length column: the range could not be checked.
        {DomainFormat::INTERPROSCAN, "P12345\tmd5\t\tPfam\tPF00069\tProtein kinase\t148\t407\t2.0E-70\tT\t12-03-2024\n",
         1, "sequence length '' is not a positive integer"},
        {DomainFormat::TSV, "P12345\tPkinase\t148\t407\nP12345\tSH3\tabc\t43\n", 2, "start 'abc'"},
        {DomainFormat::TSV, "P12345 SH3 43 20\n", 1, "start 43 is after end 20"},
        {DomainFormat::TSV, "P12345 SH3 20\n", 1, "found 3"},
    };
    for (const Case& c : cases) {
        const std::string message = ErrorOf([&] { Read(c.format, c.text); });
        EXPECT_TRUE(IsLineError(message, Path("domains.txt"), c.line)) << c.text;
        EXPECT_NE(message.find(c.shown), std::string::npos) << message;
    }
}

} // namespace
