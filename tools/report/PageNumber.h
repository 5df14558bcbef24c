#pragma once

#include <string>

// A value as the report's page prints it: three significant digits, enough
// for a reader to compare and never more than the estimates carry. Plain
// between 1e-4 and 1e6 ("0.0123", "-1290", "0.5"), else with a short
// exponent ("1.5e-5", "2.5e12"); a magnitude below 1e-6 (but not 0) as
// "< 1e-6" ("> -1e-6" when negative), since no estimate here is worth more
// digits than that; "0"; "∞" and "-∞"; "n/a" for NaN.
std::string PageNumber(double x);

// The smallest magnitude PageNumber writes as a number.
inline constexpr double PAGE_NUMBER_FLOOR = 1e-6;
