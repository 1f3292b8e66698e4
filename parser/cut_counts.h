#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

/// Something a report reader read in a way a player would not expect. The readers keep their
/// reading; the note tells it.
struct ReportNote {
    int line = 0;      ///< the report's line, from 1
    std::string text;  ///< the whole note: "line 3: Beetle: '1,000' read as 1 (a count stops at ',')"

    friend bool operator==(const ReportNote&, const ReportNote&) = default;
};

/// A reader's notes, in the order it made them.
using ReportNotes = std::vector<ReportNote>;

/// The notes' texts in the report's line order (readers that pass over the text several
/// times note in their own order), each text once.
std::vector<std::string> NotesInLineOrder(ReportNotes notes);

/// A count of a report as read.
struct ReportCount {
    std::int64_t value = 0;
    /// Where the count as read ends in its line: the tokens before it are part of the count.
    std::size_t end = 0;
};

/// Reads the count a report writes from `count`, a number token (a view into `line`, line
/// `lineNumber` from 1), for `what`, as the grid reads a typed count: "1,500", "9.000",
/// "125k", "1.5m" are whole counts, told in `notes` ("line 3: Harpy: '1,500' read as 1500").
/// A blank ends a count, for blanks part a report's columns; with `blankGroups` (one count
/// per name) a blank and a group of three digits after it ("2 000") is told as a cut. Text
/// that is no count ("1,5") gives its first digits, told as a cut. A count beyond the range
/// (64-bit when `wide`, else 32-bit) is read as 0, and told.
ReportCount ReadReportCount(int lineNumber, std::string_view line, std::string_view count, std::string_view what,
                            bool wide, bool blankGroups, ReportNotes* notes);

/// Reads a report's field that blanks part from its neighbours (a combat report's columns) as
/// ReadReportCount reads a count: "1,500" is 1500, told in `notes`; a count beyond the 32-bit
/// range is 0, told; other text that is no count is 0.
std::int32_t ReadFieldCount(int lineNumber, std::string_view field, std::string_view what, ReportNotes* notes);

/// Adds `note`, if any, to `notes`, if kept.
void AddNote(ReportNotes* notes, std::optional<ReportNote> note);

}  // namespace kestrin
