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

/// The note for a count the tokeniser cut: `count` is a number token, a view into `line`
/// (line `lineNumber`, from 1), read as `value` for `what`. A count stops at the first
/// character that is no digit, so "1,000", "1.5k" and "125k" give their first digits; with
/// `blankGroups`, a blank followed by a group of three digits ("2 000") is such a cut too
/// (not where blanks part columns of counts). Nothing when the count stands alone.
std::optional<ReportNote> CutCountNote(int lineNumber, std::string_view line, std::string_view count,
                                        std::string_view what, std::int64_t value, bool blankGroups);

/// Adds `note`, if any, to `notes`, if kept.
void AddNote(ReportNotes* notes, std::optional<ReportNote> note);

}  // namespace kestrin
