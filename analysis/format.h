// Numbers as the analysis window prints them.
#pragma once

#include <string>

namespace analysis {

// v with exactly `decimals` digits after a "." (0 ... 9 digits), rounded
// half away from zero, whatever the process locale says about decimal
// points: the digits come from integer arithmetic, never from the C
// library's locale-aware floating-point formatting. Values beyond ±1e9 and
// NaN print as "-".
std::string fixed(double v, int decimals);

}  // namespace analysis
