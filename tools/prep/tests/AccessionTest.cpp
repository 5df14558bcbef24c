// Protein identifiers as interaction lists, FASTA headers and domain files
// write them, and the accession each one stands for.
#include <gtest/gtest.h>

#include "tools/prep/Accession.h"

namespace {

const AccessionRules CANONICAL;
const AccessionRules ISOFORMS{true, false};
const AccessionRules ANY_ID{false, true};

TEST(AccessionTest, UniProtAccessionsOfBothPatternsAreKept)
{
    EXPECT_EQ(NormalizeAccession("P12345", CANONICAL), "P12345");
    EXPECT_EQ(NormalizeAccession("Q9Y6K9", CANONICAL), "Q9Y6K9");
    EXPECT_EQ(NormalizeAccession("O0ABC1", CANONICAL), "O0ABC1"); // [OPQ]: third may be a letter or digit
    EXPECT_EQ(NormalizeAccession("A2BC19", CANONICAL), "A2BC19");
    EXPECT_EQ(NormalizeAccession("A0A024R161", CANONICAL), "A0A024R161");
}

TEST(AccessionTest, OtherIdentifiersAreRefused)
{
    for (const char* id : {"", "P1234", "P123456", "A0A024R16", "A0A024R1612", "TP53", "ENSG00000141510", "p12345",
                           "P1234A", "A21C19", // [A-NR-Z][0-9] must be followed by a letter
                           "O0A024R161",       // ten characters never start with O, P or Q
                           "P12 345", "P12345-", "P12345-2a", "uniprotkb:", "sp||NAME"}) {
        EXPECT_EQ(NormalizeAccession(id, CANONICAL), "") << id;
    }
}

TEST(AccessionTest, WrappersAndIsoformSuffixesAreRemoved)
{
    EXPECT_EQ(NormalizeAccession("uniprotkb:P12345", CANONICAL), "P12345");
    EXPECT_EQ(NormalizeAccession("UniProtKB:P12345-2", CANONICAL), "P12345");
    EXPECT_EQ(NormalizeAccession("sp|P12345|KIN1_HUMAN", CANONICAL), "P12345");
    EXPECT_EQ(NormalizeAccession("sp|P12345-3|KIN1_HUMAN", CANONICAL), "P12345");
    EXPECT_EQ(NormalizeAccession("tr|A0A024R161|A0A024R161_HUMAN", CANONICAL), "A0A024R161");
    EXPECT_EQ(NormalizeAccession("A0A024R161-12", CANONICAL), "A0A024R161");
}

TEST(AccessionTest, KeptIsoformsMustStillBeAccessions)
{
    EXPECT_EQ(NormalizeAccession("uniprotkb:P12345-2", ISOFORMS), "P12345-2");
    EXPECT_EQ(NormalizeAccession("sp|Q9Y6K9-10|NEMO_HUMAN", ISOFORMS), "Q9Y6K9-10");
    EXPECT_EQ(NormalizeAccession("P12345", ISOFORMS), "P12345");
    EXPECT_EQ(NormalizeAccession("TP53-2", ISOFORMS), "");
}

TEST(AccessionTest, AnyIdentifierKeepsItsSuffixButLosesWrappers)
{
    EXPECT_EQ(NormalizeAccession("TP53", ANY_ID), "TP53");
    EXPECT_EQ(NormalizeAccession("YAL001C", ANY_ID), "YAL001C");
    EXPECT_EQ(NormalizeAccession("CG1234-2", ANY_ID), "CG1234-2");
    EXPECT_EQ(NormalizeAccession("uniprotkb:P12345-2", ANY_ID), "P12345-2");
    EXPECT_EQ(NormalizeAccession("sp|P12345|KIN1_HUMAN", ANY_ID), "P12345");
    EXPECT_EQ(NormalizeAccession("two words", ANY_ID), "");
    EXPECT_EQ(NormalizeAccession("", ANY_ID), "");
}

} // namespace
