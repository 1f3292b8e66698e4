#include "fixed_format.h"

#include <cmath>
#include <charconv>
#include <vector>

namespace kestrin {

namespace {

// The exact decimal expansion as digits around a point index, written without the process
// locale (a desktop program takes the system's).
struct Digits {
    std::string digits;  // without the point
    int pointIndex = 0;  // digits before the point
};

Digits ExactDigits(Extended magnitude) {
    std::string text = FixedDecimalText(magnitude, 120);
    if (text.empty()) text = "0";
    if (text.find('.') == std::string::npos) text += ".0";
    const std::size_t point = text.find('.');
    Digits d;
    d.pointIndex = static_cast<int>(point);
    d.digits = "0" + text.substr(0, point) + text.substr(point + 1);  // room for a carry
    ++d.pointIndex;
    return d;
}

// Index of the leading non-zero digit as a power of ten; 0 for zero.
int LeadingPower(const Digits& d) {
    for (std::size_t i = 0; i < d.digits.size(); ++i)
        if (d.digits[i] != '0') return d.pointIndex - 1 - static_cast<int>(i);
    return 0;
}

}  // namespace

std::string FormatFixedRounded(Extended value, int significant, int decimals, char separator) {
    if (!IsFinite(value)) return IsNaN(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    Digits d = ExactDigits(Fabs(value));
    // Power of ten of the last digit kept: the coarser of the two positions.
    const int keepPower = std::max(LeadingPower(d) - significant + 1, -decimals);
    const int lastIndex = d.pointIndex - 1 - keepPower;  // index of the last kept digit
    const bool roundUp = lastIndex + 1 < static_cast<int>(d.digits.size()) &&
                         d.digits[lastIndex + 1] >= '5';  // a tie goes away from zero
    for (std::size_t i = static_cast<std::size_t>(lastIndex) + 1; i < d.digits.size(); ++i)
        d.digits[i] = '0';
    for (int i = lastIndex; roundUp && i >= 0; --i) {
        if (d.digits[i] == '9') {
            d.digits[i] = '0';
            continue;
        }
        ++d.digits[i];
        break;
    }
    std::string whole = d.digits.substr(0, d.pointIndex);
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
    std::string result = whole;
    if (decimals > 0) result += separator + d.digits.substr(d.pointIndex, decimals);
    const bool isZero = d.digits.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !isZero) result = "-" + result;
    return result;
}

}  // namespace kestrin
