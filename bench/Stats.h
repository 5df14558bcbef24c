#pragma once

#include <vector>

// Summaries of repeated measurements. Values that are not numbers (a figure a
// run could not provide) are left out; with nothing left both give NaN.

// The middle value, or the mean of the two middle values.
double Median(std::vector<double> values);

double Mean(const std::vector<double>& values);
