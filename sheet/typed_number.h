#pragma once

#include <string>
#include <string_view>

#include "sheet/number_format.h"

namespace kestrin {

/// The forgiving reading of a count as a player types or pastes it: a whole number written
/// with the locale's thousands separators, surrounding blanks or a "k" (thousand) or "m"
/// (million) suffix becomes plain digits ("9,000" -> "9000", " 77" -> "77", "125k" ->
/// "125000"). Text that is already a plain integer, that is no such number, or whose value
/// leaves the cell's range (64-bit when `wide`, else 32-bit) is returned as it stands; the
/// sheet reads it by its own rule.
std::string NormaliseTypedNumber(std::string_view text, const NumberLocale& locale, bool wide);

}  // namespace kestrin
