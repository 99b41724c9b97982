#include "settings/DecimalText.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Digits {
    std::string significant; // no point, no trailing zeros (but "0" for zero)
    int exponent = 0;        // of the first digit: value = 0.ddd... * 10^(exponent + 1)
};

// printf rounds correctly, so the first precision whose text reads back is the shortest; the
// nearest decimal of that length is the one printed, as std::to_chars chooses.
Digits shortestDigits(double magnitude) {
    char text[40];
    for (int precision = 0;; ++precision) {
        std::snprintf(text, sizeof text, "%.*e", precision, magnitude);
        if (precision >= 16 || std::strtod(text, nullptr) == magnitude)
            break;
    }
    Digits digits;
    const char* exponent = std::strchr(text, 'e');
    for (const char* c = text; c < exponent; ++c) {
        if (*c != '.')
            digits.significant += *c;
    }
    digits.exponent = std::atoi(exponent + 1);
    return digits;
}

std::string fixedForm(double magnitude, const Digits& digits) {
    const std::string& d = digits.significant;
    const int count = static_cast<int>(d.size());
    // A whole number is written out in full, every digit exact, as printf's %f does.
    if (digits.exponent >= count - 1) {
        char text[320];
        std::snprintf(text, sizeof text, "%.0f", magnitude);
        return text;
    }
    if (digits.exponent >= 0)
        return d.substr(0, static_cast<size_t>(digits.exponent) + 1) + "." +
               d.substr(static_cast<size_t>(digits.exponent) + 1);
    return "0." + std::string(static_cast<size_t>(-digits.exponent - 1), '0') + d;
}

std::string scientificForm(const Digits& digits) {
    std::string text = digits.significant.substr(0, 1);
    if (digits.significant.size() > 1)
        text += "." + digits.significant.substr(1);
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%02d", digits.exponent < 0 ? '-' : '+',
                  std::abs(digits.exponent));
    return text + exponent;
}

size_t skipDigits(std::string_view text, size_t& at) {
    const size_t start = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
        ++at;
    return at - start;
}

// -? digits [. digits] [e [+-] digits], with at least one digit before the exponent.
bool isDecimal(std::string_view text) {
    size_t at = text.size() > 0 && text[0] == '-' ? 1 : 0;
    size_t digits = skipDigits(text, at);
    if (at < text.size() && text[at] == '.')
        digits += skipDigits(text, ++at);
    if (digits == 0)
        return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        if (skipDigits(text, at) == 0)
            return false;
    }
    return at == text.size();
}

} // namespace

std::string shortestDecimal(double value) {
    const std::string sign = std::signbit(value) ? "-" : "";
    if (std::isnan(value))
        return sign + "nan";
    if (std::isinf(value))
        return sign + "inf";
    const Digits digits = shortestDigits(std::fabs(value));
    const std::string fixed = fixedForm(std::fabs(value), digits);
    const std::string scientific = scientificForm(digits);
    return sign + (fixed.size() <= scientific.size() ? fixed : scientific);
}

bool readDecimal(std::string_view text, double& value) {
    if (!isDecimal(text))
        return false;
    const std::string whole(text);
    const double read = std::strtod(whole.c_str(), nullptr);
    const bool underflow =
        read == 0.0 && whole.find_first_of("123456789") < whole.find_first_of("eE");
    if (std::isinf(read) || underflow)
        return false;
    value = read;
    return true;
}
