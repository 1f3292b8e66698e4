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

/// An output that, once a write to it failed, can be put back as it was after its last whole
/// output. kestrin-cli's standard output stream buffer is one (DescriptorOutput).
class OutputCutBack {
public:
    virtual ~OutputCutBack() = default;
    /// Cuts the output back and drops what was not written; returns the rest of the error
    /// line: ": " and the system's reason, and what became of the output.
    virtual std::string CutBack() = 0;
};

/// How every warning line begins.
inline constexpr std::string_view kWarningPrefix = "warning: ";

/// Writes "warning: " and `message` as one line on `err`: a command that succeeds says what
/// it read in a way a player would not expect, and keeps its output and exit status. The
/// program passes warnings on when the command ends, and only when it succeeded.
void ReportWarning(std::ostream& err, std::string_view message);

/// Writes the complete output of a command at once and flushes it; a stream that cannot be
/// written is reported on `err` as a failure (ReportOutputFailure).
int WriteOutput(std::ostream& out, std::ostream& err, const std::string& text);

/// A write to `out` failed: cuts it back where its buffer is an OutputCutBack, and reports
/// "Unable to write the output" with the reason on `err`; returns kExitFailure.
int ReportOutputFailure(std::ostream& out, std::ostream& err);

}  // namespace kestrin
