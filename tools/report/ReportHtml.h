#pragma once

#include <string>

#include "tools/report/ReportData.h"

// report.html: one self-contained page (inline CSS and SVG, no script, no
// font or image fetched from anywhere) that a browser shows offline. Each
// plot is an <svg> with an id: "em-plot", "probability-plot",
// "motif-pair-plot", "perturbation-plot", "roc-plot", "pr-plot"; a plot whose
// data are empty is replaced by a sentence saying why.
std::string ReportHtml(const ReportData& data);
