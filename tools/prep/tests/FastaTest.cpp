// Protein lengths from FASTA files as sequence databases and people write
// them, plain and gzip-compressed, and the records refused.
#include <gtest/gtest.h>

#include <zlib.h>

#include "tools/prep/Fasta.h"
#include "tools/prep/tests/AnnotationFiles.h"

namespace {

using FastaTest = AnnotationFiles;

const AccessionRules CANONICAL;

TEST_F(FastaTest, LengthsCountResidueLettersOnly)
{
    const std::string path = Write("proteins.fasta",
                                   "\n"
                                   ">sp|P12345|KIN1_HUMAN Serine/threonine kinase OS=Homo sapiens OX=9606\n"
                                   "MSTNPKPQRK TKRNTNRRPQ\n"
                                   "DVKFPGG\r\n"
                                   "\n"
                                   ">tr|A0A024R161|A0A024R161_HUMAN\tUncharacterized protein\n"
                                   "mktayiakqr\n"
                                   "QISFVKSHFS*\n"
                                   ">Q9Y6K9\n"
                                   "M\n");
    Warnings warnings;
    const std::map<std::string, int> lengths = ReadFastaLengths(path, CANONICAL, warnings);
    const std::map<std::string, int> expected{{"P12345", 27}, {"A0A024R161", 20}, {"Q9Y6K9", 1}};
    EXPECT_EQ(lengths, expected);
    EXPECT_EQ(warnings.Total(), 0u);
}

const std::string ISOFORMS =
    "FASTA isoform records folded onto their accession (the canonical record's length is "
    "used where there is one)";

TEST_F(FastaTest, AnIsoformFoldedOntoItsAccessionKeepsTheCanonicalLength)
{
    const std::string path = Write("isoforms.fasta",
                                   ">sp|P12345|KIN1_HUMAN\nMSTNPKPQRK\n"
                                   ">sp|P12345-2|KIN1_HUMAN Isoform 2\nMSTNPK\n"
                                   ">sp|P12345-3|KIN1_HUMAN Isoform 3\nMSTN\n");
    Warnings folded;
    EXPECT_EQ(ReadFastaLengths(path, CANONICAL, folded), (std::map<std::string, int>{{"P12345", 10}}));
    EXPECT_EQ(folded.Count(ISOFORMS), 2u);
    EXPECT_EQ(folded.Total(), 2u);
    EXPECT_NE(folded.Text().find(path + " line 3"), std::string::npos) << folded.Text();

    // Isoforms first: the canonical record still gives the length, and an
    // isoform's length stands in only for an accession without one. A
    // canonical record twice keeps the first.
    const std::string first = Write("isoform-first.fasta",
                                    ">sp|P12345-2|KIN1_HUMAN Isoform 2\nMSTNPK\n"
                                    ">sp|Q99999-2|X_HUMAN Isoform 2\nMST\n"
                                    ">sp|P12345-3|KIN1_HUMAN Isoform 3\nMSTN\n"
                                    ">sp|P12345|KIN1_HUMAN\nMSTNPKPQRK\n"
                                    ">sp|Q99999-3|X_HUMAN Isoform 3\nMSTNP\n"
                                    ">P12345\nMS\n");
    Warnings w;
    EXPECT_EQ(ReadFastaLengths(first, CANONICAL, w), (std::map<std::string, int>{{"P12345", 10}, {"Q99999", 3}}));
    EXPECT_EQ(w.Count(ISOFORMS), 4u);
    EXPECT_EQ(w.Count("FASTA records of an accession already read"), 1u);
    EXPECT_NE(w.Text().find(first + " line 1)"), std::string::npos) << w.Text();
    EXPECT_NE(w.Text().find(first + " line 11)"), std::string::npos) << w.Text();

    Warnings kept;
    const std::map<std::string, int> isoforms{{"P12345", 10}, {"P12345-2", 6}, {"P12345-3", 4}};
    EXPECT_EQ(ReadFastaLengths(path, AccessionRules{true, false}, kept), isoforms);
    EXPECT_EQ(kept.Total(), 0u);
}

TEST_F(FastaTest, GzipCompressedFilesAreReadByContent)
{
    const std::string path = Path("proteins.fa.gz");
    gzFile f = gzopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const std::string text =
        ">P12345 first\nMSTNPKPQRK\nTKRNTNRRPQ\n>Q9Y6K9 second\nMNRHLWKSQLCEMVQPSGGPAADQDVLGEESPLGKPAMLHLPSEQGAPETLQRCLEENQELRDAIRQSNQILRERCEELLHFQASQREEKEF\n";
    ASSERT_EQ(gzwrite(f, text.data(), static_cast<unsigned>(text.size())), static_cast<int>(text.size()));
    ASSERT_EQ(gzclose(f), Z_OK);

    Warnings warnings;
    const std::map<std::string, int> lengths = ReadFastaLengths(path, CANONICAL, warnings);
    EXPECT_EQ(lengths, (std::map<std::string, int>{{"P12345", 20}, {"Q9Y6K9", 92}}));
}

TEST_F(FastaTest, MalformedRecordsAreRefusedAtTheirLine)
{
    struct Case {
        const char* text;
        std::size_t line;
        const char* shown; // part of the message naming what was found
    };
    const Case cases[] = {
        {"MSTNPK\n>P12345\nMSTNPK\n", 1, "before the first header"},
        {">P12345\n>Q9Y6K9\nMSTNPK\n", 1, "'P12345' has no residues"},
        {">P12345\nMSTNPK\n\n>Q9Y6K9\n\n", 4, "'Q9Y6K9' has no residues"},
        {">P12345\nMSTNPK\nMST1PK\n", 3, "'1'"},
        {">P12345\nMST-PK\n", 2, "'-'"},
        {">P12345\nMST*PK\n", 2, "'P' after the final '*'"},
        {">P12345\nMSTNPK\n>KIN1_HUMAN kinase\nMSTNPK\n", 3, "'KIN1_HUMAN'"},
        {">\nMSTNPK\n", 1, "without an identifier"},
    };
    for (const Case& c : cases) {
        const std::string path = Write("bad.fasta", c.text);
        Warnings warnings;
        const std::string message = ErrorOf([&] { ReadFastaLengths(path, CANONICAL, warnings); });
        EXPECT_TRUE(IsLineError(message, path, c.line)) << c.text;
        EXPECT_NE(message.find(c.shown), std::string::npos) << message;
    }
}

} // namespace
