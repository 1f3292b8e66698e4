#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "extended_math.h"

namespace kestrin {

/// Reads an integer written as an optional '+' or '-' and decimal digits, nothing else,
/// within the 32-bit range. Anything else is no number.
std::optional<std::int32_t> ParseInt32(std::string_view text);

/// As ParseInt32, for the 64-bit range.
std::optional<std::int64_t> ParseInt64(std::string_view text);

/// Reads a decimal number: optional sign, digits with an optional '.' fraction, optional
/// exponent. Always '.' as the separator, whatever the process locale. Extended precision,
/// because the combat tables compute in it.
std::optional<Extended> ParseDecimal(std::string_view text);

/// Lenient integer: text that is not an integer counts as 0.
inline std::int32_t LenientInt32(std::string_view text) { return ParseInt32(text).value_or(0); }

/// Lenient 64-bit integer: text that is not an integer counts as 0.
inline std::int64_t LenientInt64(std::string_view text) { return ParseInt64(text).value_or(0); }

/// A text quoted in a message, cut to its first forty or so bytes (never inside a UTF-8
/// sequence) with "..." after it, so that the message stays readable.
std::string ShortenedForMessage(std::string_view text);

/// The message of a failed strict integer conversion: "'%s' is not a valid integer value".
std::string NotAnIntegerMessage(std::string_view text);

/// The message of a failed strict decimal conversion: "'%s' is not a valid floating point value".
std::string NotAFloatMessage(std::string_view text);

}  // namespace kestrin
