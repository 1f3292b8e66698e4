#include "number_format.h"

#include <charconv>

namespace kestrin {

std::string FormatNumber(std::int64_t value, const NumberLocale& locale) {
    // The magnitude in unsigned arithmetic, so that the minimum 64-bit value has one.
    const std::uint64_t magnitude =
        value < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const auto count = static_cast<std::size_t>(end - digits);
    std::string text;
    text.reserve(count + 1 + (count / 3) * locale.thousandsSeparator.size());
    if (value < 0) text += '-';
    for (std::size_t i = 0; i < count; ++i) {
        // A separator before every group of three digits counted from the right.
        if (i != 0 && (count - i) % 3 == 0) text += locale.thousandsSeparator;
        text += digits[i];
    }
    return text;
}

std::string FormatShortened(std::int64_t value, const NumberLocale& locale) {
    constexpr std::int64_t kLargestShownWhole = 9999;
    const auto tooLarge = [](std::int64_t x) { return x > kLargestShownWhole || x < -kLargestShownWhole; };
    const char* suffix = "";
    if (tooLarge(value)) {
        value /= 1000;
        suffix = "k";
        if (tooLarge(value)) {
            value /= 1000;
            suffix = "m";
        }
    }
    return FormatNumber(value, locale) + suffix;
}

}  // namespace kestrin
