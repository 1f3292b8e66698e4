#include "ui/debug/debug_number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "engine/fixed_format.h"
#include "engine/number_text.h"

namespace kestrin {

namespace {

// to_chars, unlike printf, ignores the process locale, which Qt sets from the system.
std::string ToChars(double value, std::chars_format format, int precision) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    return std::string(buffer.data(), result.ptr);
}

void StripTrailingZeros(std::string& digits) {
    if (digits.find('.') == std::string::npos) return;
    while (digits.back() == '0') digits.pop_back();
    if (digits.back() == '.') digits.pop_back();
}

void UseSeparator(std::string& text, char separator) {
    for (char& c : text)
        if (c == '.') c = separator;
}

}  // namespace

std::string FormatGeneral(double value, int significant, char separator) {
    if (value == 0) return "0";
    if (!std::isfinite(value)) return ToChars(value, std::chars_format::general, 0);
    // The exponent after rounding to the significant digits decides the notation.
    std::string scientific = ToChars(value, std::chars_format::scientific, significant - 1);
    const std::size_t e = scientific.find('e');
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    std::string text;
    if (exponent >= -5 && exponent < significant) {
        text = ToChars(value, std::chars_format::fixed, significant - 1 - exponent);
        StripTrailingZeros(text);
    } else {
        text = scientific.substr(0, e);
        StripTrailingZeros(text);
        text += 'E' + scientific.substr(e + 1);
    }
    UseSeparator(text, separator);
    return text;
}

std::string FormatFixedOrScientific(double value, int significant, int decimals, char separator) {
    if (!std::isfinite(value) || std::fabs(value) >= std::pow(10.0, significant))
        return FormatGeneral(value, significant, separator);
    return FormatFixedRounded(value, significant, decimals, separator);
}

std::optional<double> ReadNumber(std::string_view text, char separator) {
    std::string plain(text);
    for (char& c : plain)
        if (c == separator) c = '.';
    const std::optional<long double> value = ParseDecimal(plain);
    if (!value) return std::nullopt;
    return static_cast<double>(*value);
}

}  // namespace kestrin
