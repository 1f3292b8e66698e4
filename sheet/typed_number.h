#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sheet/number_format.h"

namespace kestrin {

/// What a typed or pasted text is as a count.
enum class TypedNumberKind {
    Count,       ///< a whole number the field can hold (an empty text is 0)
    NotACount,   ///< no whole number at all
    OutOfRange,  ///< a whole number beyond the field's range
};

/// The reading of one typed text.
struct TypedNumber {
    TypedNumberKind kind = TypedNumberKind::Count;
    /// The value of a count.
    std::int64_t value = 0;
    /// What goes into a cell: plain digits for a count ("" for an empty text), else the text
    /// as it stands, which the sheet reads by its own rule.
    std::string text;
};

/// The forgiving reading of a count as a player types or pastes it, for every field that
/// takes one: a whole number written with the locale's thousands separators or with blanks
/// or no-break spaces between groups of three ("9,000", "1 000"), surrounding blanks, a
/// leading '+' or '-', a "k" (thousand) or "m" (million) suffix, with decimals when the
/// result is whole ("125k", "1.5m" = 1500000, "2.5k" = 2500; the decimal point is '.' or the
/// locale's). The range is 64-bit when `wide`, else 32-bit.
TypedNumber ReadTypedNumber(std::string_view text, const NumberLocale& locale, bool wide);

/// ReadTypedNumber's text: what a cell stores for a typed text.
std::string NormaliseTypedNumber(std::string_view text, const NumberLocale& locale, bool wide);

/// Why a typed text is no count the field can hold ("'1,5m' is not a count", or beyond the
/// range, which it names); empty for a count.
std::string TypedNumberProblem(std::string_view typed, const NumberLocale& locale, bool wide);

/// What a player is told about a typed text that is no count the field can hold: it never
/// replaces what the cell holds (`kept`): "'9.000' is not a count: the cell keeps 70,000,000",
/// or for an empty cell "...: nothing was entered"; empty for a count.
std::string TypedNumberNotice(std::string_view typed, const NumberLocale& locale, bool wide, std::string_view kept);

}  // namespace kestrin
