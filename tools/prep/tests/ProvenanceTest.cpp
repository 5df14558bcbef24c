// What a prep folder records about what made it: SHA-256 digests against
// published test vectors, the command line as a shell reads it back, and
// the provenance file of a whole run.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <sstream>

#include "motifbind/Version.h"
#include "tools/prep/PrepMain.h"
#include "tools/prep/Provenance.h"
#include "tools/prep/Sha256.h"
#include "tools/prep/tests/AnnotationFiles.h"
#include "tools/toolbox/RunCommand.h"

namespace {

using ProvenanceTest = AnnotationFiles;

// FIPS 180-2 examples: "abc", the empty message, and a million 'a' (more
// than one read block of a file).
const char* const ABC = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const char* const EMPTY = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
const char* const MILLION_A = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";

TEST_F(ProvenanceTest, DigestsMatchThePublishedVectorsInMemoryAndFromFiles)
{
    EXPECT_EQ(Sha256Hex("abc"), ABC);
    EXPECT_EQ(Sha256Hex(""), EMPTY);
    EXPECT_EQ(Sha256OfFile(Write("abc.txt", "abc")), ABC);
    EXPECT_EQ(Sha256OfFile(Write("empty.txt", "")), EMPTY);
    EXPECT_EQ(Sha256OfFile(Write("million.txt", std::string(1000000, 'a'))), MILLION_A);
    // The bytes as stored: gzip data is not unpacked first.
    const std::string gz("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10);
    EXPECT_EQ(Sha256OfFile(Write("set.gz", gz)), Sha256Hex(gz));
    const std::string missing = Path("missing.tsv");
    EXPECT_EQ(ErrorOf([&] { Sha256OfFile(missing); }).rfind(missing + ": cannot be opened", 0), 0u);
}

TEST_F(ProvenanceTest, CommandWordsReadBackByAShellStayOnOneLine)
{
    EXPECT_EQ(ShellWord("--out"), "--out");
    EXPECT_EQ(ShellWord("my set"), "'my set'");
    EXPECT_EQ(ShellWord("it's"), "'it'\\''s'");
    EXPECT_EQ(ShellWord(""), "''");
    // A line break or an escape is spelt out, a quote and a backslash escaped.
    EXPECT_EQ(ShellWord("a\nb'c\\\x1b"), "$'a\\x0ab\\'c\\\\\\x1b'");
}

TEST_F(ProvenanceTest, ARunRecordsVersionCommandSeedAndEveryInputInOptionOrder)
{
    const std::string ppi = Write("ppi list.tsv", "P11111\tP22222\nP22222\tP33333\n");
    const std::string domains = Write("domains.tsv", "P11111\tSH3\t1\t10\nP22222\tSH3\t1\t10\nP33333\tPDZ\t1\t10\n");
    const std::string fasta = Write("p.fasta", ">P11111\n" + std::string(20, 'M') + "\n>P22222\n" +
                                                   std::string(20, 'M') + "\n>P33333\n" + std::string(20, 'M') + "\n");
    const std::string names = Write("names.tsv", "SH3\tSrc homology 3\n");
    const std::string out = Path("set");
    const std::vector<std::string> args = {"--out",   out,   "--domains",       domains, "--interactions", ppi,
                                           "--fasta", fasta, "--domain-format", "tsv",   "--family-names", names,
                                           "--seed",  "42"};
    std::ostringstream o;
    std::ostringstream e;
    ASSERT_EQ(PrepMain(args, o, e), 0) << e.str();
    std::ifstream in(out + "/provenance.txt");
    std::stringstream text;
    text << in.rdbuf();
    const auto digest = [](const std::string& bytes) { return Sha256Hex(bytes); };
    // Interactions before domains whatever the order given; the file name
    // with a blank quoted.
    EXPECT_EQ(text.str(),
              std::string("made by: motifbind-prep ") + MOTIFBIND_VERSION + "\n" + "command: motifbind-prep --out " +
                  out + " --domains " + domains + " --interactions '" + ppi + "' --fasta " + fasta +
                  " --domain-format tsv --family-names " + names + " --seed 42\n" + "seed: 42\n" +
                  "input --interactions: " + digest("P11111\tP22222\nP22222\tP33333\n") + "  '" + ppi + "'\n" +
                  "input --domains: " + digest("P11111\tSH3\t1\t10\nP22222\tSH3\t1\t10\nP33333\tPDZ\t1\t10\n") + "  " +
                  domains + "\n" + "input --fasta: " + Sha256OfFile(fasta) + "  " + fasta + "\n" +
                  "input --family-names: " + digest("SH3\tSrc homology 3\n") + "  " + names + "\n");
}

TEST_F(ProvenanceTest, AFifoIsRecordedWithoutReadingIt)
{
    const std::string fifo = Path("ppi.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    PrepConfig c;
    c.interactionFiles = {fifo};
    // Opening the FIFO to hash it would wait for a writer forever.
    EXPECT_EQ(ProvenanceText({"--interactions", fifo}, c),
              std::string("made by: motifbind-prep ") + MOTIFBIND_VERSION +
                  "\ncommand: motifbind-prep --interactions " + fifo +
                  "\nseed: 1\ninput --interactions: not a regular file, not hashed  " + fifo + "\n");
}

} // namespace
