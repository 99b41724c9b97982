#pragma once

#include <string>
#include <string_view>

// Decimal numbers as the settings file and the command line write them, the same text on every
// target: the browser build's C++ library has no floating-point std::to_chars or from_chars,
// so these take what both have (printf and strtod, in the "C" locale the game never leaves).

// The shortest text that reads back as exactly this value, in the form std::to_chars gives it
// ("0.1", "48.73", "1", "1e-05", "-0", "inf", "nan").
std::string shortestDecimal(double value);

// The whole text as one finite decimal number ("0.5", ".5", "1.", "-2e-3"), as std::from_chars
// reads it: no sign "+", no spaces, no hexadecimal; true and the value when it is one. Out of
// range (too large, or so small that only zero is left) is no number.
bool readDecimal(std::string_view text, double& value);
