#pragma once

#include <string>

#include "tools/report/ReportData.h"

// report.html: one self-contained page (inline CSS and SVG, no script, no
// font or image fetched from anywhere) that a browser shows offline. Each
// plot is an <svg> with an id: "em-plot", "probability-plot",
// "motif-pair-plot", "perturbation-plot", "roc-plot", "pr-plot"; a plot whose
// data are empty is replaced by a sentence saying why. Tables with ids:
// "top-interactions-table", "explaining-motif-pairs", "perturbation-table",
// "curve-areas". Numbers are written by PageNumber; the caveats of the
// judgement (degenerate estimates, circular known pairs, names the run does
// not know) get a notice at the top.
std::string ReportHtml(const ReportData& data);
