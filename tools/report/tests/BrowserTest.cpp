// report.html in a real browser: headless Chromium loads the page from a
// file, its DOM still holds every plot with drawing elements, and a
// screenshot of it is a picture, not a blank page. Skipped without Chromium.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/report/ReportHtml.h"
#include "tools/report/tests/HtmlCheck.h"

namespace fs = std::filesystem;
using namespace htmlcheck;

namespace {

// The browser on PATH under either of its Debian or Ubuntu names, or empty.
std::string FindChromium()
{
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path != nullptr ? path : "");
    std::vector<std::string> folders;
    for (std::string dir; std::getline(dirs, dir, ':');) {
        folders.push_back(dir.empty() ? "." : dir);
    }
    for (const char* name : {"chromium", "chromium-browser"}) {
        for (const auto& dir : folders) {
            const fs::path candidate = fs::path(dir) / name;
            if (::access(candidate.c_str(), X_OK) == 0 && !fs::is_directory(candidate)) {
                return candidate.string();
            }
        }
    }
    return "";
}

std::string Quote(const std::string& w)
{
    std::string q = "'";
    for (const char c : w) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

std::string Slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class BrowserFolder {
public:
    BrowserFolder()
    {
        static std::atomic<int> counter{0};
        path_ = fs::temp_directory_path() /
                ("motifbind-report-browser-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~BrowserFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    BrowserFolder(const BrowserFolder&) = delete;
    BrowserFolder& operator=(const BrowserFolder&) = delete;
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

// Runs the browser on the page with the given extra options, standard
// output into `out`; at most 60 s. Returns the exit status.
int RunChromium(const std::string& exe, const BrowserFolder& dir, const std::string& options,
                const fs::path& out)
{
    const fs::path page = dir.Path() / "report.html";
    const std::string cmd = "timeout 60 " + Quote(exe) +
                            " --headless --no-sandbox --disable-gpu --disable-dev-shm-usage --no-first-run"
                            " --disable-extensions --user-data-dir=" +
                            Quote((dir.Path() / "profile").string()) + " " + options + " " +
                            Quote("file://" + page.string()) + " >" + Quote(out.string()) + " 2>" +
                            Quote((dir.Path() / "stderr.txt").string()) + " </dev/null";
    const int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

} // namespace

TEST(ReportHtmlBrowser, ChromiumShowsEveryPlot)
{
    const std::string exe = FindChromium();
    if (exe.empty()) {
        GTEST_SKIP() << "Chromium is not installed (neither chromium nor chromium-browser on PATH)";
    }
    BrowserFolder dir;
    {
        std::ofstream page(dir.Path() / "report.html", std::ios::binary);
        page << ReportHtml(SampleData());
    }

    const fs::path dom = dir.Path() / "dom.html";
    ASSERT_EQ(RunChromium(exe, dir, "--dump-dom", dom), 0) << Slurp(dir.Path() / "stderr.txt");
    const std::string text = Slurp(dom);
    ASSERT_NE(text.find("<h1>motifbind report: run-07</h1>"), std::string::npos) << text.substr(0, 2000);
    EXPECT_EQ(text.find("<script"), std::string::npos);
    struct Expect {
        const char* id;
        std::size_t rects;      // bars
        std::size_t polylines;  // data lines
    };
    for (const Expect& e : {Expect{"em-plot", 0, 2}, Expect{"probability-plot", 6, 0},
                            Expect{"motif-pair-plot", 3, 0}, Expect{"perturbation-plot", 3, 0},
                            Expect{"roc-plot", 0, 2}, Expect{"pr-plot", 0, 2}}) {
        const std::string svg = SvgById(text, e.id);
        ASSERT_FALSE(svg.empty()) << e.id << " is not in the DOM";
        EXPECT_EQ(CountOf(svg, "<rect"), e.rects) << e.id;
        EXPECT_EQ(CountOf(svg, "<polyline"), e.polylines) << e.id;
        EXPECT_GT(CountOf(svg, "<text"), 5u) << e.id;
        EXPECT_GT(CountOf(svg, "<line"), 5u) << e.id;
    }

    // A 1200 x 3000 PNG with plots, text and tables compresses to far more
    // than a blank page (under 10 KB).
    const fs::path shot = dir.Path() / "report.png";
    ASSERT_EQ(RunChromium(exe, dir, "--hide-scrollbars --window-size=1200,3000 --screenshot=" +
                                        Quote(shot.string()),
                          dir.Path() / "shot-stdout.txt"),
              0)
        << Slurp(dir.Path() / "stderr.txt");
    ASSERT_TRUE(fs::exists(shot)) << Slurp(dir.Path() / "stderr.txt");
    const std::string png = Slurp(shot);
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    const auto be32 = [&png](std::size_t at) {
        return (static_cast<unsigned>(static_cast<unsigned char>(png[at])) << 24) |
               (static_cast<unsigned>(static_cast<unsigned char>(png[at + 1])) << 16) |
               (static_cast<unsigned>(static_cast<unsigned char>(png[at + 2])) << 8) |
               static_cast<unsigned>(static_cast<unsigned char>(png[at + 3]));
    };
    EXPECT_EQ(be32(16), 1200u);
    EXPECT_EQ(be32(20), 3000u);
    EXPECT_GT(png.size(), 40000u) << "the screenshot looks blank";
}
