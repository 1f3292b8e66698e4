#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

/// General format: at most `significant` significant digits without trailing zeros, in
/// fixed notation while the decimal exponent lies in -5 .. significant - 1, otherwise
/// scientific ("1.5E-06", at least two exponent digits). Rounds half to even on the exact
/// binary value.
std::string FormatGeneral(double value, int significant, char separator);

/// Fixed notation with exactly `decimals` decimals, rounded once at the coarser of
/// `significant` digits and `decimals` decimals; values of 10 to the power `significant`
/// and above (in magnitude) do not fit and are written as FormatGeneral writes them.
std::string FormatFixedOrScientific(double value, int significant, int decimals, char separator);

/// Reads back a number written by the functions above (or a plain integer); nothing when
/// the text is not a number.
std::optional<double> ReadNumber(std::string_view text, char separator);

}  // namespace kestrin
