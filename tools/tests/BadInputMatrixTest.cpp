// Every input of motifbind-prep, motifbind-report and motifbind-eval,
// replaced one at a time by bad bytes or by something that is no regular
// file, each run as its own process under a time limit. Whatever the bytes,
// a run ends in one of two ways: complete (status 0, its outputs written,
// only "warning: " lines on standard error) or refused (status 1, one
// "Error: " line naming the file, no output folder). Input that is the good
// input in another form (CRLF, a byte-order mark, gzip, joined gzip
// members, a FIFO) must give the good outputs byte for byte. A crash, a
// sanitizer report or a hang fails the case that caused it. The output
// folder itself is tried too: one that holds files, /dev/full, a write that
// fails half-way, and standard output on a full device.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <zlib.h>

#include "support/FifoFeeder.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using testutil::Describe;
using testutil::FifoFeeder;
using testutil::ReadFile;
using testutil::RunOptions;
using testutil::RunProgram;
using testutil::RunResult;
using testutil::TempDir;
using testutil::WriteFile;

namespace {

// Seconds a run may take before it is killed and counted as a hang.
constexpr double HARD_LIMIT = 20;
// An endless input must be given up on quickly.
constexpr double ENDLESS_LIMIT = 5;
constexpr std::size_t TEN_MEGABYTES = std::size_t(10) << 20;

// ---------------------------------------------------------------- files

// `text` as one gzip member.
std::string Gzip(const std::string& text, int level = 6)
{
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, static_cast<uLong>(text.size())) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// A member that expands `copies` times `unit`, deflated a piece at a time.
std::string GzipRepeated(const std::string& unit, std::size_t copies)
{
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::string block;
    while (block.size() < (std::size_t(1) << 20)) {
        block += unit;
    }
    const std::size_t per = block.size() / unit.size();
    std::string out;
    std::vector<char> buf(1 << 16);
    for (std::size_t done = 0; done < copies; done += per) {
        z.next_in = reinterpret_cast<Bytef*>(block.data());
        z.avail_in = static_cast<uInt>(block.size());
        const bool last = done + per >= copies;
        int rc = Z_OK;
        do {
            z.next_out = reinterpret_cast<Bytef*>(buf.data());
            z.avail_out = static_cast<uInt>(buf.size());
            rc = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            out.append(buf.data(), buf.size() - z.avail_out);
        } while (z.avail_out == 0 || (last && rc != Z_STREAM_END));
    }
    deflateEnd(&z);
    return out;
}

// ---------------------------------------------------------------- processes

// Runs `exe` with `args` under the memory cap, killed after `seconds`.
RunResult RunLimited(const std::string& exe, const std::vector<std::string>& args, RunOptions o = RunOptions())
{
    o.seconds = o.seconds > 0 ? o.seconds : HARD_LIMIT;
    o.memoryCap = true;
    return RunProgram(exe, args, o);
}

// ---------------------------------------------------------------- the good set

// Six proteins with Pfam domains, reported pairs in a TSV file (source
// "reported") and a MITAB file (sources by detection method), listed
// non-interacting pairs, pairs to predict and known domain pairs; the
// domains in each of the four formats.
const char* const INTERACTIONS =
    "P11111\tP22222\nP11111\tQ55555\nP22222\tQ44444\nP33333\tO66666\nQ44444\tQ55555\nP22222\tP33333\n"
    "P11111\tO66666\n";

std::string MitabLine(const std::string& a, const std::string& b, const std::string& method)
{
    std::string line = "uniprotkb:" + a + "\tuniprotkb:" + b + "\t-\t-\t-\t-\tpsi-mi:\"MI:0018\"(" + method + ")";
    for (int i = 7; i < 15; ++i) {
        line += "\t-";
    }
    return line + "\n";
}

std::string Mitab()
{
    return "#ID(s) interactor A\tID(s) interactor B\talt A\talt B\taliases A\taliases B\tmethod\tauthor\tpub\t"
           "taxid A\ttaxid B\ttype\tsource db\tinteraction id\tconfidence\n" +
           MitabLine("P11111", "Q44444", "two hybrid") + MitabLine("Q55555", "O66666", "two hybrid") +
           MitabLine("P33333", "Q44444", "two hybrid") + MitabLine("P22222", "O66666", "pull down") +
           MitabLine("P11111", "P33333", "pull down") + MitabLine("Q44444", "O66666", "pull down");
}

struct Domain {
    const char* protein;
    int length;
    const char* family;
    const char* name;
    int start;
    int end;
};

const std::vector<Domain>& Domains()
{
    static const std::vector<Domain> d = {
        {"P11111", 100, "PF00069.25", "Pkinase", 10, 60},  {"P11111", 100, "PF00018.30", "SH3_1", 70, 90},
        {"P22222", 80, "PF00018.30", "SH3_1", 5, 30},      {"P33333", 60, "PF00595.26", "PDZ", 10, 40},
        {"Q44444", 120, "PF00069.25", "Pkinase", 20, 100}, {"Q44444", 120, "PF00595.26", "PDZ", 101, 115},
        {"Q55555", 90, "PF00018.30", "SH3_1", 1, 20},      {"Q55555", 90, "PF00069.25", "Pkinase", 30, 80},
        {"O66666", 70, "PF00595.26", "PDZ", 5, 25},
    };
    return d;
}

std::string DomainFile(const std::string& format)
{
    std::string s;
    if (format == "domtblout") {
        s = "# target name accession tlen query name accession qlen E-value score bias # of c-Evalue i-Evalue "
            "score bias from to from to from to acc description\n";
    } else if (format == "tsv") {
        s = "accession\tdomain\tstart\tend\n";
    }
    for (const Domain& d : Domains()) {
        const std::string start = std::to_string(d.start);
        const std::string end = std::to_string(d.end);
        const std::string length = std::to_string(d.length);
        if (format == "domtblout") {
            s += std::string(d.name) + " " + d.family + " 250 " + d.protein + " - " + length +
                 " 1e-30 100.0 0.1 1 1 1e-32 1e-30 99.0 0.1 1 250 " + start + " " + end + " " + start + " " + end +
                 " 0.95 -\n";
        } else if (format == "pfamscan") {
            s += std::string(d.protein) + " " + start + " " + end + " " + start + " " + end + " " + d.family + " " +
                 d.name + " Domain 1 250 250 100.0 1e-30 1 No_clan\n";
        } else if (format == "interproscan") {
            s += std::string(d.protein) + "\tmd5\t" + length + "\tPfam\t" + d.family + "\t" + d.name + "\t" + start +
                 "\t" + end + "\t1e-30\tT\t01-01-2024\n";
        } else {
            s += std::string(d.protein) + "\t" + d.family + "\t" + start + "\t" + end + "\n";
        }
    }
    return s;
}

std::string Fasta()
{
    std::string s;
    std::map<std::string, int> lengths;
    for (const Domain& d : Domains()) {
        lengths[d.protein] = d.length;
    }
    for (const auto& [acc, length] : lengths) {
        s += ">sp|" + acc + "|X_HUMAN protein\n" + std::string(static_cast<std::size_t>(length), 'M') + "\n";
    }
    return s;
}

const char* const NEGATIVES = "P11111\tP33333\treported\nQ44444\tO66666\treported\nP22222\tQ55555\treported\n";
const char* const PREDICT = "P11111\tP22222\nQ44444\tO66666\nP33333\tP99999\n";
const char* const DDI = "PF00069\tPF00018\nSH3_1\tPDZ\nPF00595.26 PF00595\n";
const char* const KNOWN = "PF00069\tPF00018\nPF00595\tPF00595\n";
const char* const FAMILY_NAMES = "family\tname\nPF00069\tProtein kinase domain\nSH3_1 Src homology 3\n";

// The inputs of prep under `dir`/in.
void WritePrepInputs(const fs::path& dir)
{
    WriteFile(dir / "in/interactions.tsv", INTERACTIONS);
    WriteFile(dir / "in/interactions.mitab", Mitab());
    for (const char* format : {"domtblout", "pfamscan", "interproscan", "tsv"}) {
        WriteFile(dir / ("in/domains." + std::string(format)), DomainFile(format));
    }
    WriteFile(dir / "in/proteins.fasta", Fasta());
    WriteFile(dir / "in/negatives.tsv", NEGATIVES);
    WriteFile(dir / "in/predict.tsv", PREDICT);
    WriteFile(dir / "in/ddi.tsv", DDI);
    WriteFile(dir / "in/family_names.tsv", FAMILY_NAMES);
}

// prep's command line on the inputs under `dir`, the domains in `format`;
// with `forRun` the set that the report and the evaluation read (no
// prediction list, so that the held-out pairs are predicted).
std::vector<std::string> PrepArgs(const fs::path& dir, const std::string& format, const fs::path& out,
                                  bool forRun = false)
{
    const std::string in = (dir / "in").string() + "/";
    std::vector<std::string> a = {"--out",
                                  out.string(),
                                  "--interactions",
                                  in + "interactions.tsv",
                                  "--interactions",
                                  in + "interactions.mitab",
                                  "--mitab-experiment",
                                  "method",
                                  "--domains",
                                  in + "domains." + format,
                                  "--domain-format",
                                  format,
                                  "--fasta",
                                  in + "proteins.fasta",
                                  "--negatives",
                                  in + "negatives.tsv",
                                  "--ddi",
                                  in + "ddi.tsv",
                                  "--family-names",
                                  in + "family_names.tsv",
                                  "--holdout",
                                  "0.3",
                                  "--pertype",
                                  "1",
                                  "--seed",
                                  "3"};
    if (!forRun) {
        a.insert(a.end(), {"--predict", in + "predict.tsv"});
    }
    return a;
}

// The words of the set's command.txt, motifbind by its path.
std::vector<std::string> RunWords(const fs::path& set)
{
    std::istringstream in(ReadFile(set / "command.txt"));
    std::vector<std::string> words;
    for (std::string w; in >> w;) {
        words.push_back(w);
    }
    words.erase(words.begin());
    return words;
}

// A finished run: prep's set with motifbind's log and prediction file. Made
// once per test program.
const fs::path& GoodRun()
{
    static TempDir dir;
    static const fs::path run = [] {
        WritePrepInputs(dir.Path());
        const fs::path set = dir.Path() / "run";
        // domtblout: families with accessions and names.
        const RunResult prep = RunLimited(MOTIFBIND_PREP_EXE, PrepArgs(dir.Path(), "domtblout", set, true));
        EXPECT_EQ(prep.status, 0) << Describe(prep);
        // motifbind writes its outputs where it runs.
        const fs::path cwd = fs::current_path();
        fs::current_path(set);
        const RunResult mb = RunLimited(MOTIFBIND_EXE, RunWords(set));
        fs::current_path(cwd);
        EXPECT_EQ(mb.status, 0) << Describe(mb);
        WriteFile(dir.Path() / "known.tsv", KNOWN);
        return set;
    }();
    return run;
}

// ---------------------------------------------------------------- the cases

enum class Program { PREP, REPORT, EVAL };

struct Input {
    const char* label; // for test names
    Program program;
    const char* file;   // under in/ for prep, under run/ for the others
    const char* format; // prep's domain format for this input
    const char* header; // a header line of the format
};

const std::vector<Input>& Inputs()
{
    static const std::vector<Input> inputs = {
        {"PrepInteractionsTsv", Program::PREP, "interactions.tsv", "tsv", "accession_a\taccession_b"},
        {"PrepInteractionsMitab", Program::PREP, "interactions.mitab", "tsv",
         "#ID(s) interactor A\tID(s) interactor B"},
        {"PrepDomtblout", Program::PREP, "domains.domtblout", "domtblout", "# target name accession"},
        {"PrepPfamscan", Program::PREP, "domains.pfamscan", "pfamscan", "# pfam_scan.pl output"},
        {"PrepInterproscan", Program::PREP, "domains.interproscan", "interproscan", "# InterProScan"},
        {"PrepDomainsTsv", Program::PREP, "domains.tsv", "tsv", "accession\tdomain\tstart\tend"},
        {"PrepFasta", Program::PREP, "proteins.fasta", "tsv", ">P11111"},
        {"PrepNegatives", Program::PREP, "negatives.tsv", "tsv", "accession_a\taccession_b\tsource"},
        {"PrepPredict", Program::PREP, "predict.tsv", "tsv", "accession_a\taccession_b"},
        {"PrepDdi", Program::PREP, "ddi.tsv", "tsv", "# domain_a domain_b"},
        {"PrepFamilyNames", Program::PREP, "family_names.tsv", "tsv", "family\tname"},
        {"ReportLog", Program::REPORT, "motifbind.log", "", "*** Command line: motifbind"},
        {"ReportPredictions", Program::REPORT, "predictions.txt", "",
         "***s Predicted non-interaction probability for protein pairs:"},
        {"ReportProteins", Program::REPORT, "proteins.tsv", "", "id\taccession\tlength\tcovered\tmotifs\tname"},
        {"ReportMotifs", Program::REPORT, "motifs.tsv", "", "id\tfamily\tname\tproteins\tdescription"},
        {"ReportSources", Program::REPORT, "sources.tsv", "", "source\tmodel_not_interacting\tmodel_interacting"},
        {"ReportObservations", Program::REPORT, "ppi_observations.txt", "", "protein_a protein_b value"},
        {"ReportProteinMotifs", Program::REPORT, "protein_motifs.txt", "", "protein motif length"},
        {"ReportActivePairs", Program::REPORT, "active_motif_pairs.txt", "", "motif_a motif_b affinity"},
        {"ReportTruth", Program::REPORT, "holdout_interacting.tsv", "", "accession_a\taccession_b"},
        {"ReportKnown", Program::REPORT, "known.tsv", "", "# family_a family_b"},
        {"EvalLog", Program::EVAL, "motifbind.log", "", "*** Command line: motifbind"},
        {"EvalPredictions", Program::EVAL, "predictions.txt", "",
         "***s Predicted non-interaction probability for protein pairs:"},
        {"EvalTruth", Program::EVAL, "truth_holdout.txt", "", "protein_a protein_b state"},
        {"EvalObservations", Program::EVAL, "ppi_observations.txt", "", "protein_a protein_b value"},
        {"EvalProteinMotifs", Program::EVAL, "protein_motifs.txt", "", "protein motif length"},
        {"EvalActivePairs", Program::EVAL, "active_motif_pairs.txt", "", "motif_a motif_b affinity"},
    };
    return inputs;
}

// An input by its label: the list grows, indexes would shift.
const Input& InputNamed(const std::string& label)
{
    for (const Input& in : Inputs()) {
        if (label == in.label) {
            return in;
        }
    }
    throw std::logic_error("no input " + label);
}

enum class Kind {
    Empty,
    HeaderOnly,
    WrongColumns,
    Crlf,
    Bom,
    Nul,
    BinaryGarbage,
    TenMegabyteLine,
    Gzip,
    GzipMembers,
    GzipCut,
    GzipThenText,
    GzipBomb,
    GzipOfNuls,
    Directory,
    Fifo,
    DevZero,
    HostileNames,
};

const char* KindName(Kind k)
{
    switch (k) {
    case Kind::Empty:
        return "Empty";
    case Kind::HeaderOnly:
        return "HeaderOnly";
    case Kind::WrongColumns:
        return "WrongColumns";
    case Kind::Crlf:
        return "Crlf";
    case Kind::Bom:
        return "Bom";
    case Kind::Nul:
        return "Nul";
    case Kind::BinaryGarbage:
        return "BinaryGarbage";
    case Kind::TenMegabyteLine:
        return "TenMegabyteLine";
    case Kind::Gzip:
        return "Gzip";
    case Kind::GzipMembers:
        return "GzipMembers";
    case Kind::GzipCut:
        return "GzipCut";
    case Kind::GzipThenText:
        return "GzipThenText";
    case Kind::GzipBomb:
        return "GzipBomb";
    case Kind::GzipOfNuls:
        return "GzipOfNuls";
    case Kind::Directory:
        return "Directory";
    case Kind::Fifo:
        return "Fifo";
    case Kind::DevZero:
        return "DevZero";
    case Kind::HostileNames:
        return "HostileNames";
    }
    return "?";
}

// The good input in another form: the run must be the good run.
bool SameAsGood(Kind k)
{
    return k == Kind::Crlf || k == Kind::Bom || k == Kind::Gzip || k == Kind::GzipMembers || k == Kind::Fifo;
}

std::string ReplaceAll(std::string s, const std::string& from, const std::string& to)
{
    for (std::size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size()) {
        s.replace(at, from.size(), to);
    }
    return s;
}

// Expands to 100 MiB of comment-like lines after whatever comes first:
// past the reader's floor, from a few dozen KiB.
const std::string& BombBody()
{
    static const std::string body = GzipRepeated("#" + std::string(1022, 'A') + "\n", 100 << 10);
    return body;
}

const std::string& NulBomb()
{
    static const std::string body = GzipRepeated(std::string(4096, '\0'), 25 << 10);
    return body;
}

// Proteins and motifs named with markup and a terminal escape sequence.
std::string Hostile(const std::string& good)
{
    std::string s = good;
    for (const char* name : {"P11111", "PF00069", "Pkinase", "Protein kinase domain"}) {
        const std::string hostile = std::string("<script>alert('") + name + "')</script>\x1b[2J\x1b]0;owned\x07";
        s = ReplaceAll(s, std::string("\t") + name + "\t", "\t" + hostile + "\t");
        // The display names in the last column.
        s = ReplaceAll(s, std::string("\t") + name + "\n", "\t" + hostile + "\n");
    }
    return s;
}

std::string Contents(const std::string& good, const Input& in, Kind k)
{
    const std::size_t eol = good.find('\n') + 1;
    switch (k) {
    case Kind::Empty:
        return "";
    case Kind::HeaderOnly:
        return std::string(in.header) + "\n";
    case Kind::WrongColumns:
        return good.substr(0, eol) + "P11111\tP22222\tx\ty\tz\n" + good.substr(eol);
    case Kind::Crlf:
        return ReplaceAll(good, "\n", "\r\n");
    case Kind::Bom:
        return "\xEF\xBB\xBF" + good;
    case Kind::Nul:
        return good.substr(0, eol + 3) + std::string(1, '\0') + good.substr(eol + 3);
    case Kind::BinaryGarbage: {
        std::mt19937 gen(20240611);
        std::string s(400, '\0');
        for (char& c : s) {
            c = static_cast<char>(gen() & 0xFF);
        }
        return s;
    }
    case Kind::TenMegabyteLine:
        return good + std::string(TEN_MEGABYTES, 'A') + "\n";
    case Kind::Gzip:
        return Gzip(good);
    case Kind::GzipMembers: {
        const std::size_t half = good.size() / 2;
        return Gzip(good.substr(0, half)) + Gzip(good.substr(half));
    }
    case Kind::GzipCut: {
        const std::string z = Gzip(good);
        return z.substr(0, z.size() - 10);
    }
    case Kind::GzipThenText:
        return Gzip(good) + "P11111\tP33333\n";
    case Kind::GzipBomb:
        return Gzip(good.substr(0, eol)) + BombBody();
    case Kind::GzipOfNuls:
        return NulBomb();
    case Kind::HostileNames:
        return Hostile(good);
    case Kind::Directory:
    case Kind::Fifo:
    case Kind::DevZero:
        break;
    }
    return good;
}

struct Case {
    int input;
    Kind kind;
};

std::vector<Case> AllCases()
{
    std::vector<Case> cases;
    for (int i = 0; i < static_cast<int>(Inputs().size()); ++i) {
        const Input& in = Inputs()[static_cast<std::size_t>(i)];
        for (int k = 0; k <= static_cast<int>(Kind::HostileNames); ++k) {
            const Kind kind = static_cast<Kind>(k);
            const std::string file = in.file;
            // Names go into the report from its name tables.
            if (kind == Kind::HostileNames && file != "proteins.tsv" && file != "motifs.tsv") {
                continue;
            }
            cases.push_back({i, kind});
        }
    }
    return cases;
}

// One case's folder: a copy of the inputs, its program's command line, and
// the outputs it makes.
struct CaseRun {
    TempDir dir;
    fs::path input; // the file the case replaces
    fs::path out;   // output folder (prep, report)
    std::string exe;
    std::vector<std::string> args;
};

void Prepare(CaseRun& c, const Input& in)
{
    const fs::path root = c.dir.Path();
    switch (in.program) {
    case Program::PREP:
        WritePrepInputs(root);
        c.input = root / "in" / in.file;
        c.out = root / "set";
        c.exe = MOTIFBIND_PREP_EXE;
        c.args = PrepArgs(root, in.format, c.out);
        return;
    case Program::REPORT:
    case Program::EVAL:
        fs::copy(GoodRun(), root / "run", fs::copy_options::recursive);
        fs::copy_file(GoodRun().parent_path() / "known.tsv", root / "run" / "known.tsv");
        c.input = root / "run" / in.file;
        break;
    }
    const std::string run = (root / "run").string();
    if (in.program == Program::REPORT) {
        c.out = root / "report";
        c.exe = MOTIFBIND_REPORT_EXE;
        c.args = {run,
                  "--out",
                  c.out.string(),
                  "--truth",
                  run + "/holdout_interacting.tsv",
                  run + "/holdout_not_interacting.tsv",
                  "--known",
                  run + "/known.tsv"};
    } else {
        c.exe = MOTIFBIND_EVAL_EXE;
        c.args = {run};
    }
}

// The outputs of a finished case, file by file, with the case's folder
// written as <dir> so that two cases compare.
std::map<std::string, std::string> Outputs(const CaseRun& c, const RunResult& o)
{
    std::map<std::string, std::string> files;
    const std::string root = c.dir.Path().string();
    files["(standard output)"] = ReplaceAll(o.out, root, "<dir>");
    if (!c.out.empty() && fs::is_directory(c.out)) {
        for (const auto& e : fs::directory_iterator(c.out)) {
            files[e.path().filename().string()] = ReplaceAll(ReadFile(e.path()), root, "<dir>");
        }
    }
    return files;
}

std::vector<std::string> Lines(const std::string& s)
{
    std::vector<std::string> lines;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);) {
        lines.push_back(l);
    }
    return lines;
}

// The two allowed ends of a run.
void ExpectCompleteOrRefused(const CaseRun& c, const RunResult& o, const std::string& named)
{
    ASSERT_FALSE(o.timedOut) << Describe(o);
    ASSERT_TRUE(o.exited) << Describe(o);
    ASSERT_TRUE(o.status == 0 || o.status == 1) << Describe(o);
    if (o.status == 0) {
        for (const std::string& l : Lines(o.err)) {
            EXPECT_EQ(l.rfind("warning: ", 0), 0u) << "on standard error: " << l.substr(0, 300);
        }
        if (!c.out.empty()) {
            const bool prep = c.exe == MOTIFBIND_PREP_EXE;
            EXPECT_TRUE(fs::exists(c.out / (prep ? "summary.txt" : "report.html"))) << "a complete run wrote no output";
        }
        return;
    }
    EXPECT_EQ(o.err.rfind("Error: ", 0), 0u) << Describe(o);
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << "not one line: " << o.err.substr(0, 600);
    EXPECT_NE(o.err.find(named), std::string::npos) << "error does not name " << named << ": " << Describe(o);
    EXPECT_LE(o.err.size(), 1000u) << "an error line of " << o.err.size() << " bytes";
    EXPECT_EQ(o.err.find('\x1b'), std::string::npos) << "a raw escape on standard error";
    if (!c.out.empty()) {
        EXPECT_FALSE(fs::exists(c.out)) << "a refused run left its output folder";
    }
}

const std::map<std::string, std::string>& GoodOutputs(int input)
{
    static std::map<int, std::map<std::string, std::string>> cache;
    const auto it = cache.find(input);
    if (it != cache.end()) {
        return it->second;
    }
    CaseRun c;
    Prepare(c, Inputs()[static_cast<std::size_t>(input)]);
    const RunResult o = RunLimited(c.exe, c.args);
    EXPECT_EQ(o.status, 0) << Describe(o);
    // Nothing on standard error but, from the report, the flag of the
    // shared run's degenerate estimates (its learned rates reach 0 and 1)
    // and that of its known pairs, both of which its domain-domain input
    // lists too.
    for (const std::string& l : Lines(o.err)) {
        EXPECT_TRUE(l.rfind("warning: degenerate estimates: ", 0) == 0 ||
                    l == "warning: --known lists 2 motif pairs that the run's domain-domain evidence "
                         "(ddi_observations.txt) already lists: their enrichment is circular")
            << l.substr(0, 300);
    }
    // The good run's outputs under the case folder's own name.
    std::map<std::string, std::string> files = Outputs(c, o);
    return cache[input] = files;
}

class BadInput : public ::testing::TestWithParam<Case> {};

TEST_P(BadInput, EndsCompleteOrWithOneErrorNamingTheFile)
{
    const Case param = GetParam();
    const Input& in = Inputs()[static_cast<std::size_t>(param.input)];
    CaseRun c;
    Prepare(c, in);
    const std::string good = ReadFile(c.input);
    std::unique_ptr<FifoFeeder> feeder;
    RunOptions limits;
    switch (param.kind) {
    case Kind::Directory:
        fs::remove(c.input);
        fs::create_directory(c.input);
        break;
    case Kind::Fifo:
        fs::remove(c.input);
        ASSERT_EQ(mkfifo(c.input.c_str(), 0600), 0);
        feeder = std::make_unique<FifoFeeder>(c.input.string(), good);
        break;
    case Kind::DevZero:
        fs::remove(c.input);
        fs::create_symlink("/dev/zero", c.input);
        limits.seconds = ENDLESS_LIMIT;
        break;
    default:
        WriteFile(c.input, Contents(good, in, param.kind));
    }
    const RunResult o = RunLimited(c.exe, c.args, limits);
    if (feeder) {
        feeder->Stop();
    }
    ExpectCompleteOrRefused(c, o, c.input.filename().string());

    if (SameAsGood(param.kind)) {
        EXPECT_EQ(o.status, 0) << Describe(o);
        std::map<std::string, std::string> outputs = Outputs(c, o);
        std::map<std::string, std::string> good = GoodOutputs(param.input);
        // The provenance records the bytes as stored: another form of the
        // same text has another checksum, and a FIFO none.
        if (in.program == Program::PREP) {
            const auto line = [&](const std::string& text) {
                for (const std::string& l : Lines(text)) {
                    if (l.find(c.input.filename().string()) != std::string::npos && l.rfind("input ", 0) == 0) {
                        return l;
                    }
                }
                return std::string("(no line)");
            };
            const std::string mine = line(outputs["provenance.txt"]);
            if (param.kind == Kind::Fifo) {
                EXPECT_NE(mine.find(": not a regular file, not hashed  "), std::string::npos) << mine;
            } else {
                EXPECT_NE(mine, line(good["provenance.txt"]));
            }
            EXPECT_NE(mine, "(no line)");
            outputs.erase("provenance.txt");
            good.erase("provenance.txt");
        }
        EXPECT_EQ(outputs, good) << "the same input gave other outputs";
    }
    if (param.kind == Kind::HostileNames) {
        ASSERT_EQ(o.status, 0) << Describe(o);
        const std::string html = ReadFile(c.out / "report.html");
        EXPECT_EQ(html.find("<script>alert"), std::string::npos) << "markup from a name reached the page";
        EXPECT_NE(html.find("&lt;script&gt;alert("), std::string::npos) << "the name is not on the page";
        EXPECT_EQ(html.find('\x1b'), std::string::npos) << "an escape sequence reached the page";
        EXPECT_EQ(o.out.find('\x1b'), std::string::npos) << "an escape sequence reached the terminal";
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, BadInput, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(Inputs()[static_cast<std::size_t>(info.param.input)].label) + "_" +
                                    KindName(info.param.kind);
                         });

// ---------------------------------------------------------------- outputs

class BadOutput : public ::testing::TestWithParam<Program> {
protected:
    // The case's command line with its output folder at `out`.
    void Make(CaseRun& c, const fs::path& out)
    {
        const Input& in = GetParam() == Program::PREP ? Inputs().front() : InputNamed("ReportLog");
        Prepare(c, in);
        for (std::string& a : c.args) {
            if (a == c.out.string()) {
                a = out.string();
            }
        }
        c.out = out;
    }
};

TEST_P(BadOutput, AFolderThatHoldsFilesIsLeftAlone)
{
    TempDir dir;
    const fs::path out = dir.Path() / "out";
    WriteFile(out / "precious.txt", "mine\n");
    CaseRun c;
    Make(c, out);
    const RunResult o = RunLimited(c.exe, c.args);
    EXPECT_EQ(o.status, 1) << Describe(o);
    EXPECT_EQ(o.err,
              "Error: output folder '" + out.string() + "' already holds files; expected a new or empty folder\n");
    EXPECT_EQ(ReadFile(out / "precious.txt"), "mine\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 1);
}

TEST_P(BadOutput, AFullDeviceIsNoFolder)
{
    CaseRun c;
    Make(c, "/dev/full");
    const RunResult o = RunLimited(c.exe, c.args);
    EXPECT_EQ(o.status, 1) << Describe(o);
    EXPECT_EQ(o.err, "Error: output path '/dev/full' is not a folder; expected a new or empty folder\n");
}

TEST_P(BadOutput, AWriteThatFailsLeavesNoHalfFolderAndASecondTryWorks)
{
    TempDir dir;
    const fs::path out = dir.Path() / "out";
    CaseRun c;
    Make(c, out);
    // Files of at most 300 bytes: the first longer one fails part-way.
    RunOptions small;
    small.fileSize = 300;
    small.stdoutFile = (dir.Path() / "stdout").string();
    const RunResult o = RunLimited(c.exe, c.args, small);
    ExpectCompleteOrRefused(c, o, out.string());
    EXPECT_EQ(o.status, 1) << Describe(o);
    EXPECT_NE(o.err.find("File too large"), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1)
        << "the staging folder was left behind";
    const RunResult again = RunLimited(c.exe, c.args);
    EXPECT_EQ(again.status, 0) << Describe(again);
}

TEST_P(BadOutput, StandardOutputOnAFullDeviceIsAnError)
{
    TempDir dir;
    CaseRun c;
    Make(c, dir.Path() / "out");
    RunOptions full;
    full.stdoutFile = "/dev/full";
    const RunResult o = RunLimited(c.exe, c.args, full);
    EXPECT_EQ(o.status, 1) << Describe(o);
    EXPECT_EQ(o.err, "Error: cannot write standard output; expected room on its device or an open pipe\n");
}

INSTANTIATE_TEST_SUITE_P(Writers, BadOutput, ::testing::Values(Program::PREP, Program::REPORT),
                         [](const ::testing::TestParamInfo<Program>& info) {
                             return std::string(info.param == Program::PREP ? "Prep" : "Report");
                         });

TEST(BadOutputEval, StandardOutputOnAFullDeviceIsAnError)
{
    CaseRun c;
    Prepare(c, InputNamed("EvalLog"));
    RunOptions full;
    full.stdoutFile = "/dev/full";
    const RunResult o = RunLimited(c.exe, c.args, full);
    EXPECT_EQ(o.status, 1) << Describe(o);
    EXPECT_EQ(o.err, "Error: cannot write standard output; expected room on its device or an open pipe\n");
    const RunResult ok = RunLimited(c.exe, c.args);
    EXPECT_EQ(ok.status, 0) << Describe(ok);
}

TEST(BadOutputReport, APredictionFileNamedButMissingIsAnError)
{
    CaseRun c;
    Prepare(c, InputNamed("ReportLog"));
    const std::string missing = (c.dir.Path() / "no-such-predictions.txt").string();
    c.args.insert(c.args.end(), {"--predictions", missing});
    const RunResult o = RunLimited(c.exe, c.args);
    EXPECT_EQ(o.status, 1) << Describe(o);
    EXPECT_EQ(o.err, "Error: cannot open " + missing + ": No such file or directory; expected a readable file\n");
    EXPECT_FALSE(fs::exists(c.out));
}

} // namespace
