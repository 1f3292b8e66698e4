#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace kestrin {

/// JSON whose objects keep their keys in insertion order: the output's field order is fixed.
using Json = nlohmann::ordered_json;

/// Exit status of a command that succeeded.
inline constexpr int kExitOk = 0;
/// Exit status of a failure that is neither a usage error nor unusable input.
inline constexpr int kExitFailure = 1;
/// Exit status of a usage error or of an input that cannot be used.
inline constexpr int kExitUsage = 2;

/// Compact JSON text. Bytes that are not UTF-8 (the sheet's texts are 8-bit code page text)
/// become U+FFFD instead of failing the whole output.
std::string DumpJson(const Json& value);

/// The text on one line: each line break, with the indentation after it, becomes "; ".
std::string OneLine(std::string_view text);

/// Writes `message` as one line on `err`; returns `status`.
int ReportError(std::ostream& err, std::string_view message, int status);

/// How every warning line begins.
inline constexpr std::string_view kWarningPrefix = "warning: ";

/// Writes "warning: " and `message` as one line on `err`: a command that succeeds says what
/// it read in a way a player would not expect, and keeps its output and exit status. The
/// program passes warnings on when the command ends, and only when it succeeded.
void ReportWarning(std::ostream& err, std::string_view message);

/// Writes the complete output of a command at once and flushes it; a stream that cannot be
/// written is reported on `err` as a failure.
int WriteOutput(std::ostream& out, std::ostream& err, const std::string& text);

}  // namespace kestrin
