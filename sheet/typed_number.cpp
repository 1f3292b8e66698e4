#include "typed_number.h"

#include <limits>

#include "engine/number_text.h"
#include "engine/saturating.h"

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

void StripBlanks(std::string_view& text) {
    while (StripBlank(text, true)) {}
    while (StripBlank(text, false)) {}
}

// Between groups of three: the locale's separator, or a blank as people write "1 000".
bool StripSeparator(std::string_view& text, const NumberLocale& locale) {
    for (std::string_view separator : {std::string_view(locale.thousandsSeparator), std::string_view(" "),
                                       kNoBreakSpace, kNarrowNoBreakSpace}) {
        if (!separator.empty() && text.starts_with(separator)) {
            text.remove_prefix(separator.size());
            return true;
        }
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
            value = SaturatingMultiplyAdd(value, 10, static_cast<std::uint64_t>(text.front() - '0'));
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

// "1.5" before a "k" or "m": the whole part grouped as above, the decimals plain digits.
// Only a whole result counts ("1.2345k" is no count of ships).
std::optional<std::uint64_t> ReadDecimal(std::string_view text, std::uint64_t multiplier, const NumberLocale& locale) {
    const std::size_t point = text.find_last_of(std::string{'.', locale.decimalSeparator});
    if (point == std::string_view::npos) return std::nullopt;
    const std::string_view whole = text.substr(0, point);
    std::string_view decimals = text.substr(point + 1);
    if (decimals.empty()) return std::nullopt;
    for (char c : decimals)
        if (!IsDigit(c)) return std::nullopt;
    while (decimals.ends_with('0')) decimals.remove_suffix(1);
    std::uint64_t fraction = 0, scale = 1;
    for (char c : decimals) {
        // A seventh decimal that is not 0 is a fraction of one even after "m".
        if (scale >= multiplier) return std::nullopt;
        fraction = fraction * 10 + static_cast<std::uint64_t>(c - '0');
        scale *= 10;
    }
    if (fraction * multiplier % scale != 0) return std::nullopt;
    std::uint64_t value = 0;
    if (!whole.empty()) {
        const std::optional<std::uint64_t> digits = ReadGroupedDigits(whole, locale);
        if (!digits) return std::nullopt;
        value = *digits;
    }
    return SaturatingMultiplyAdd(value, multiplier, fraction * multiplier / scale);
}

}  // namespace

TypedNumber ReadTypedNumber(std::string_view text, const NumberLocale& locale, bool wide) {
    // Text that already is a plain integer in range stays exactly as typed.
    const std::optional<std::int64_t> plain = wide ? ParseInt64(text) : std::optional<std::int64_t>(ParseInt32(text));
    if (plain)
        return {TypedNumberKind::Count, *plain, std::string(text)};
    const TypedNumber notACount{TypedNumberKind::NotACount, 0, std::string(text)};
    StripBlanks(text);
    if (text.empty()) return {};
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint64_t multiplier = 1;
    if (!text.empty() && (text.back() == 'k' || text.back() == 'K')) multiplier = 1'000;
    if (!text.empty() && (text.back() == 'm' || text.back() == 'M')) multiplier = 1'000'000;
    if (multiplier != 1) {
        text.remove_suffix(1);
        StripBlanks(text);  // "125 k"
    }
    std::optional<std::uint64_t> magnitude = ReadGroupedDigits(text, locale);
    if (magnitude) magnitude = SaturatingMultiplyAdd(*magnitude, multiplier, 0);
    else if (multiplier != 1) magnitude = ReadDecimal(text, multiplier, locale);
    if (!magnitude) return notACount;
    const std::int64_t max = wide ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int32_t>::max();
    // The negative range reaches one further than the positive.
    const std::uint64_t limit = static_cast<std::uint64_t>(max) + (negative ? 1 : 0);
    if (*magnitude > limit) return {TypedNumberKind::OutOfRange, 0, notACount.text};
    if (!negative) return {TypedNumberKind::Count, static_cast<std::int64_t>(*magnitude), std::to_string(*magnitude)};
    // -(magnitude - 1) - 1 reaches the lowest value without overflowing.
    const std::int64_t value = *magnitude == 0 ? 0 : -static_cast<std::int64_t>(*magnitude - 1) - 1;
    return {TypedNumberKind::Count, value, value == 0 ? "0" : std::to_string(value)};
}

std::string NormaliseTypedNumber(std::string_view text, const NumberLocale& locale, bool wide) {
    return ReadTypedNumber(text, locale, wide).text;
}

std::string TypedNumberProblem(std::string_view typed, const NumberLocale& locale, bool wide) {
    const TypedNumberKind kind = ReadTypedNumber(typed, locale, wide).kind;
    if (kind == TypedNumberKind::Count) return {};
    const std::string quoted = "'" + ShortenedForMessage(typed) + "'";
    if (kind == TypedNumberKind::NotACount) return quoted + " is not a count";
    const std::int64_t min = wide ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int32_t>::min();
    const std::int64_t max = wide ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int32_t>::max();
    return quoted + " is more than the cell can hold (" + FormatNumber(min, locale) + " to " + FormatNumber(max, locale) + ")";
}

std::string TypedNumberNotice(std::string_view typed, const NumberLocale& locale, bool wide, std::string_view kept) {
    const std::string problem = TypedNumberProblem(typed, locale, wide);
    if (problem.empty()) return {};
    if (kept.empty()) return problem + ": nothing was entered";
    // A stored count is shown as the grid shows it; other stored text as it stands.
    const std::optional<std::int64_t> count = ParseInt64(kept);
    return problem + ": the cell keeps " + (count ? FormatNumber(*count, locale) : "'" + ShortenedForMessage(kept) + "'");
}

}  // namespace kestrin
