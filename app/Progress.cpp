#include "app/Progress.h"

#include <iostream>
#include <sstream>

#include <unistd.h>

namespace {

// Updates closer together than this are not drawn.
constexpr auto REDRAW = std::chrono::milliseconds(100);

std::string Duration(double seconds)
{
    const long s = seconds < 0 ? 0 : long(seconds + 0.5);
    std::ostringstream out;
    if (s >= 3600)
        out << s / 3600 << " h " << (s % 3600) / 60 << " min";
    else if (s >= 60)
        out << s / 60 << " min " << s % 60 << " s";
    else
        out << s << " s";
    return out.str();
}

} // namespace

ProgressLine::ProgressLine() : ProgressLine(std::cerr, isatty(STDERR_FILENO) == 1) {}

ProgressLine::ProgressLine(std::ostream& o, bool show)
    : out(o), enabled(show), start(std::chrono::steady_clock::now()), last(start - REDRAW)
{
}

ProgressLine::~ProgressLine()
{
    // Standard error may be gone; a destructor must not throw.
    try {
        Clear();
    } catch (...) {
    }
}

void ProgressLine::Show(std::string line, bool force)
{
    if (!enabled)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - last < REDRAW)
        return;
    last = now;
    text = std::move(line);
    if (!held)
        Draw();
}

void ProgressLine::Draw()
{
    // Back to the start of the line, the text, then erase what is left.
    out << '\r' << text << "\033[K" << std::flush;
    shown = true;
}

void ProgressLine::Erase()
{
    out << "\r\033[K" << std::flush;
    shown = false;
}

void ProgressLine::BeginCycles()
{
    start = std::chrono::steady_clock::now();
    last = start - REDRAW; // draw the first count at once
}

void ProgressLine::Rounds(const char* phase, int rounds, double joint)
{
    std::ostringstream text;
    text << phase << ": " << rounds << " rounds, log joint " << joint;
    Show(text.str(), false);
}

void ProgressLine::Cycles(std::size_t done, std::size_t total)
{
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::ostringstream text;
    text << "Perturbation: " << done << " of " << total << " cycles";
    if (done > 0 && done < total)
        text << ", about " << Duration(elapsed / double(done) * double(total - done)) << " left";
    Show(text.str(), done == total);
}

void ProgressLine::Clear()
{
    if (shown)
        Erase();
    text.clear();
}

void ProgressLine::Suspend()
{
    if (shown)
        Erase();
    held = true;
}

void ProgressLine::Resume()
{
    if (!held)
        return;
    held = false;
    if (!text.empty())
        Draw();
}
