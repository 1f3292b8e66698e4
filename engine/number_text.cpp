#include "number_text.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace kestrin {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Sign and digits only; from_chars alone would accept neither '+' nor reject nothing else.
template <typename Int>
std::optional<Int> ParseSignedDigits(std::string_view text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) return std::nullopt;
    for (char c : digits)
        if (!IsDigit(c)) return std::nullopt;
    // Accumulate the magnitude in the unsigned type so that the minimum value is reachable.
    using Unsigned = std::make_unsigned_t<Int>;
    const Unsigned limit = negative ? Unsigned(std::numeric_limits<Int>::max()) + 1u
                                    : Unsigned(std::numeric_limits<Int>::max());
    Unsigned value = 0;
    for (char c : digits) {
        const Unsigned digit = Unsigned(c - '0');
        if (value > (limit - digit) / 10u) return std::nullopt;
        value = value * 10u + digit;
    }
    if (negative) return value == 0 ? Int(0) : Int(-Int(value - 1u) - 1);
    return Int(value);
}

// Up to 19 decimal digits fit a 64-bit integer, which the extended type holds exactly.
constexpr std::size_t kExactDigits = 19;

// Digits with an optional '.', at most kExactDigits of them: the number is m / 10^k with m and
// 10^k held exactly, and one division, correctly rounded, gives the correctly rounded value,
// as the general conversion would, at a fraction of its cost (the statistics file holds
// about 160 such numbers).
Extended ExactQuotient(std::string_view mantissa) {
    std::uint64_t m = 0, scale = 1;
    bool fraction = false;
    for (char c : mantissa) {
        if (c == '.') {
            fraction = true;
            continue;
        }
        m = m * 10 + std::uint64_t(c - '0');
        if (fraction) scale *= 10;
    }
    return static_cast<Extended>(m) / static_cast<Extended>(scale);
}

}  // namespace

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    return ParseSignedDigits<std::int32_t>(text);
}

std::optional<std::int64_t> ParseInt64(std::string_view text) {
    return ParseSignedDigits<std::int64_t>(text);
}

std::optional<Extended> ParseDecimal(std::string_view text) {
    std::size_t pos = 0;
    const bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    const std::size_t mantissaStart = pos;
    std::size_t mantissaDigits = 0;
    while (pos < text.size() && IsDigit(text[pos])) ++pos, ++mantissaDigits;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && IsDigit(text[pos])) ++pos, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (pos == text.size() && mantissaDigits <= kExactDigits) {
        const Extended value = ExactQuotient(text.substr(mantissaStart));
        return negative ? -value : value;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        std::size_t exponentDigits = 0;
        while (pos < text.size() && IsDigit(text[pos])) ++pos, ++exponentDigits;
        if (exponentDigits == 0) return std::nullopt;
    }
    if (pos != text.size()) return std::nullopt;
    // The sign is applied here: the conversion takes none.
    const std::optional<Extended> value = ExtendedFromDecimal(text.substr(mantissaStart));
    if (!value) return std::nullopt;
    return negative ? -*value : *value;
}

std::string ShortenedForMessage(std::string_view text) {
    constexpr std::size_t kShown = 40;
    if (text.size() <= kShown) return std::string(text);
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return std::string(text.substr(0, cut)) + "...";
}

std::string NotAnIntegerMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

std::string NotAFloatMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value";
}

}  // namespace kestrin
