#include "tools/toolbox/Cli.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "motifbind/Version.h"
#include "tools/toolbox/Numbers.h"
#include "tools/toolbox/ToolError.h"

namespace {

std::string Short(double x)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", x);
    return buf;
}

// CLI11 sometimes ends its messages with a line break; the error line is one.
std::string OneLine(std::string s)
{
    for (char& c : s) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    while (!s.empty() && s.back() == ' ') {
        s.pop_back();
    }
    return s;
}

// Single edits (insert, delete, replace, or swap two neighbours) that turn
// `a` into `b`.
std::size_t EditDistance(const std::string& a, const std::string& b)
{
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (std::size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t replace = d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, replace});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

// A word CLI11 left over that was meant as an option: a dash and more, but
// not a negative number (that is a stray value).
bool LooksLikeOption(const std::string& word)
{
    double x = 0.0;
    return word.size() >= 2 && word[0] == '-' && !ParseReal(word, x);
}

} // namespace

std::string UnknownOption(const CLI::App& app, const std::string& word)
{
    const std::string given = word.substr(0, word.find('='));
    const std::string bare = given.substr(std::min(given.find_first_not_of('-'), given.size()));
    std::string best;
    std::size_t bestDistance = 0;
    for (const CLI::Option* opt : app.get_options()) {
        for (const std::string& name : opt->get_lnames()) {
            // A typo of a few letters, more for a longer name.
            const std::size_t close = std::max<std::size_t>(1, name.size() / 4);
            const std::size_t d = EditDistance(bare, name);
            if (d <= close && (best.empty() || d < bestDistance)) {
                best = "--" + name;
                bestDistance = d;
            }
        }
    }
    if (best.empty()) {
        return given + " is not an option (see --help)";
    }
    return given + " is not an option; did you mean " + best + "?";
}

bool ParseArgs(CLI::App& app, const std::vector<std::string>& args, std::ostream& out)
{
    app.set_version_flag("--version", app.get_name() + " " + MOTIFBIND_VERSION,
                         "Print the program's name and version and exit");
    // CLI11 takes the words in reverse order.
    std::vector<std::string> words(args.rbegin(), args.rend());
    try {
        app.parse(words);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return false;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << "\n";
        return false;
    } catch (const CLI::ParseError& e) {
        // CLI11 checks required options and values before it looks at the
        // words it did not know; a misspelt option explains both, so it comes
        // first.
        const std::vector<std::string> left = app.remaining();
        const auto unknown = std::find_if(left.begin(), left.end(), LooksLikeOption);
        if (unknown != left.end()) {
            throw ToolError(UnknownOption(app, *unknown));
        }
        if (dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr) {
            std::string extra;
            for (const std::string& w : left) {
                extra += (extra.empty() ? "" : " ") + w;
            }
            throw ToolError("unexpected arguments '" + extra + "' (see --help)");
        }
        throw ToolError(OneLine(e.what()) + " (see --help)");
    }
    return true;
}

CLI::Validator RealIn(double lo, bool loIncl, double hi, bool hiIncl)
{
    std::string range;
    if (std::isinf(hi)) {
        range = loIncl ? "a number of at least " + Short(lo) : "a number greater than " + Short(lo);
    } else {
        range =
            std::string("a number in ") + (loIncl ? "[" : "(") + Short(lo) + ", " + Short(hi) + (hiIncl ? "]" : ")");
    }
    return CLI::Validator(
        [=](std::string& text) -> std::string {
            double x = 0.0;
            if (!ParseReal(text, x) || (loIncl ? x < lo : x <= lo) || (hiIncl ? x > hi : x >= hi)) {
                return "expected " + range + ", got '" + text + "'";
            }
            return "";
        },
        range);
}

CLI::Validator Fraction() { return RealIn(0.0, true, 1.0, true); }

void FlushOutput(std::ostream& out)
{
    out.flush();
    if (!out) {
        throw ToolError("cannot write standard output; expected room on its device or an open pipe");
    }
}

int RunTool(std::ostream& err, const std::function<int()>& body)
{
    try {
        return body();
    } catch (const ToolError& e) {
        err << "Error: " << e.what() << "\n";
    } catch (const std::bad_alloc&) {
        err << "Error: out of memory; expected smaller inputs\n";
    } catch (const std::exception& e) {
        err << "Error: " << e.what() << "\n";
    }
    return 1;
}
