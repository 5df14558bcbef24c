#pragma once

// Numerical tolerances of the observation distributions.

// An observed value counts as 0 or 1 when strictly within g_eps of it.
constexpr double g_eps = 1e-05;
// Mixture learning ignores pairs whose weight is at or below g_tinyeps.
constexpr double g_tinyeps = 1e-09;
// The Gaussian normaliser uses 2 * g_pi, deliberately not full-precision pi.
constexpr double g_pi = 3.14159;
