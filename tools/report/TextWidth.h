#pragma once

#include <string>
#include <string_view>
#include <vector>

// How wide a line of text in the page's sans-serif font is, for laying out
// the SVG figures without a browser. The advances are those of DejaVu Sans,
// the widest of the common sans-serif faces (Arial, Helvetica, Liberation
// Sans and Segoe UI are narrower), with a margin on top: a label laid out
// with them fits whichever of these fonts the reader's browser picks.

// The width in pixels of UTF-8 text at a font size in pixels. Characters
// beyond ASCII count as a full em (CJK takes that, accented letters less).
double TextWidth(std::string_view text, double fontPx);

// The text broken into lines no wider than `maxPx`: at blanks where it can,
// inside a word (after a '-', '/', '_' or '.', else anywhere) only where the
// word alone is wider. Nothing but blanks is dropped: each line is a run of
// whole words, or a piece of a word too wide for a line. One empty line for
// empty text.
std::vector<std::string> WrapText(const std::string& text, double maxPx, double fontPx);
