#include "tools/common/Cli.h"

#include <cmath>
#include <cstdio>
#include <new>

#include "tools/common/Numbers.h"
#include "tools/common/ToolError.h"

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

} // namespace

bool ParseArgs(CLI::App& app, const std::vector<std::string>& args)
{
    // CLI11 takes the words in reverse order.
    std::vector<std::string> words(args.rbegin(), args.rend());
    try {
        app.parse(words);
    } catch (const CLI::CallForHelp&) {
        return false;
    } catch (const CLI::ExtrasError&) {
        std::string words;
        for (const std::string& w : app.remaining()) {
            words += (words.empty() ? "" : " ") + w;
        }
        throw ToolError("unexpected arguments '" + words + "' (see --help)");
    } catch (const CLI::ParseError& e) {
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
        range = std::string("a number in ") + (loIncl ? "[" : "(") + Short(lo) + ", " + Short(hi) +
                (hiIncl ? "]" : ")");
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
