#include "typed_number.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "engine/number_text.h"

namespace kestrin {

namespace {

constexpr std::string_view kNoBreakSpace = "\xC2\xA0", kNarrowNoBreakSpace = "\xE2\x80\xAF";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Blanks a paste from a chat or a spreadsheet brings along, the no-break spaces included.
bool StripBlank(std::string_view& text, bool front) {
    for (std::string_view blank : {std::string_view(" "), std::string_view("\t"), std::string_view("\r"),
                                   std::string_view("\n"), kNoBreakSpace, kNarrowNoBreakSpace}) {
        if (front ? text.starts_with(blank) : text.ends_with(blank)) {
            front ? text.remove_prefix(blank.size()) : text.remove_suffix(blank.size());
            return true;
        }
    }
    return false;
}

// Where the locale groups digits with a (no-break) space, a typed plain space groups too.
bool StripSeparator(std::string_view& text, const NumberLocale& locale) {
    const std::string& separator = locale.thousandsSeparator;
    if (!separator.empty() && text.starts_with(separator)) {
        text.remove_prefix(separator.size());
        return true;
    }
    const bool spaceLike = separator == kNoBreakSpace || separator == kNarrowNoBreakSpace || separator == " ";
    if (spaceLike && text.starts_with(' ')) {
        text.remove_prefix(1);
        return true;
    }
    return false;
}

// Digits, grouped by threes after the first group when separators are used at all.
std::optional<std::uint64_t> ReadGroupedDigits(std::string_view text, const NumberLocale& locale) {
    std::uint64_t value = 0;
    int groupDigits = 0;
    bool grouped = false;
    while (!text.empty()) {
        if (IsDigit(text.front())) {
            if (value > (std::numeric_limits<std::uint64_t>::max() - 9) / 10) return std::nullopt;
            value = value * 10 + static_cast<std::uint64_t>(text.front() - '0');
            ++groupDigits;
            text.remove_prefix(1);
            continue;
        }
        const bool firstGroupOk = grouped ? groupDigits == 3 : groupDigits >= 1 && groupDigits <= 3;
        if (!firstGroupOk || !StripSeparator(text, locale)) return std::nullopt;
        grouped = true;
        groupDigits = 0;
    }
    if (groupDigits == 0 || (grouped && groupDigits != 3)) return std::nullopt;
    return value;
}

}  // namespace

std::string NormaliseTypedNumber(std::string_view text, const NumberLocale& locale, bool wide) {
    const std::string unchanged(text);
    if (wide ? ParseInt64(text).has_value() : ParseInt32(text).has_value()) return unchanged;
    while (StripBlank(text, true)) {}
    while (StripBlank(text, false)) {}
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint64_t multiplier = 1;
    if (!text.empty() && (text.back() == 'k' || text.back() == 'K')) multiplier = 1'000;
    if (!text.empty() && (text.back() == 'm' || text.back() == 'M')) multiplier = 1'000'000;
    if (multiplier != 1) text.remove_suffix(1);
    const std::optional<std::uint64_t> digits = ReadGroupedDigits(text, locale);
    if (!digits || *digits > std::numeric_limits<std::uint64_t>::max() / multiplier) return unchanged;
    const std::uint64_t magnitude = *digits * multiplier;
    const std::int64_t max = wide ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int32_t>::max();
    // The negative range reaches one further than the positive.
    const std::uint64_t limit = static_cast<std::uint64_t>(max) + (negative ? 1 : 0);
    if (magnitude > limit) return unchanged;
    if (!negative) return std::to_string(magnitude);
    return magnitude == 0 ? "0" : "-" + std::to_string(magnitude);
}

}  // namespace kestrin
