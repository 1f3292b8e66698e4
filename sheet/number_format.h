#pragma once

#include <cstdint>
#include <string>

namespace kestrin {

/// The separators numbers are shown with. The desktop program passes the system's;
/// kestrin-cli and the tests use the defaults "," and ".".
struct NumberLocale {
    /// Thousands separator; text, because some systems use a multi-byte space (UTF-8).
    std::string thousandsSeparator = ",";
    /// Decimal separator (the "%.0n" format shows no decimals; kept for the fixed-point
    /// figures of other views).
    char decimalSeparator = '.';
};

/// Fixed separators, as the desktop program shows figures by default: what kestrin-cli
/// prints and the page shows, whatever the machine's settings.
inline const NumberLocale kFixedLocale{",", '.'};

/// The "%.0n" format: the integer with thousands separators and no decimals, a leading
/// '-' when negative. Exact over the whole 64-bit range.
std::string FormatNumber(std::int64_t value, const NumberLocale& locale);

/// k/m shortening: above 9999 in magnitude the figure is divided by 1000 and
/// gets "k"; if still above 9999, divided by 1000 again with "m". Division truncates.
std::string FormatShortened(std::int64_t value, const NumberLocale& locale);

}  // namespace kestrin
