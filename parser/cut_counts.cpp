#include "cut_counts.h"

#include <algorithm>
#include <set>

#include "engine/number_text.h"
#include "sheet/typed_number.h"

namespace kestrin {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsGroupSeparator(char c) { return c == ',' || c == '.' || c == '\''; }
// The players' shorthand for thousands and millions.
bool IsMultiplier(char c) { return c == 'k' || c == 'K' || c == 'm' || c == 'M'; }

// Whether `line` holds exactly three digits from `at` (a thousands group after a blank).
bool ThreeDigitGroup(std::string_view line, std::size_t at) {
    if (at + 3 > line.size()) return false;
    for (std::size_t i = at; i < at + 3; ++i)
        if (!IsDigit(line[i])) return false;
    return at + 3 == line.size() || !IsDigit(line[at + 3]);
}

// Where the count as the player wrote it ends: digits parted by separators, then a multiplier.
std::size_t WrittenEnd(std::string_view line, std::size_t end, bool blankGroups) {
    for (;;) {
        while (end < line.size() && IsDigit(line[end])) ++end;
        if (end + 1 < line.size() && IsGroupSeparator(line[end]) && IsDigit(line[end + 1])) {
            end += 1;
        } else if (blankGroups && end < line.size() && line[end] == ' ' && ThreeDigitGroup(line, end + 1)) {
            end += 1;
        } else {
            break;
        }
    }
    const bool multiplier = end < line.size() && IsMultiplier(line[end]) &&
                            (end + 1 == line.size() || !IsLetter(line[end + 1]));
    return multiplier ? end + 1 : end;
}

}  // namespace

namespace {

ReportNote Note(int lineNumber, std::string_view what, std::string_view written, const std::string& reading) {
    return {lineNumber, "line " + std::to_string(lineNumber) + ": " + std::string(what) + ": '" +
                            ShortenedForMessage(written) + "' " + reading};
}

// Reports come from players' games and chats: a thousands group may be parted by ',', '.'
// or '\'', the decimals of "1.5k" or "1,5k" by the other mark.
TypedNumber ReadWritten(std::string_view written, bool wide) {
    TypedNumber reading;
    for (const NumberLocale& locale : {NumberLocale{",", '.'}, NumberLocale{".", ','}, NumberLocale{"'", '.'}}) {
        reading = ReadTypedNumber(written, locale, wide);
        if (reading.kind != TypedNumberKind::NotACount) return reading;
    }
    return reading;
}

std::string OutOfRange(bool wide) {
    return std::string("is more than a count can hold (") + (wide ? "9,223,372,036,854,775,807" : "2,147,483,647") +
           "): read as 0";
}

}  // namespace

ReportCount ReadReportCount(int lineNumber, std::string_view line, std::string_view count, std::string_view what,
                            bool wide, bool blankGroups, ReportNotes* notes) {
    // A number token is always a view into its line; anything else is read as it stands.
    if (count.data() < line.data() || count.data() + count.size() > line.data() + line.size()) {
        const std::optional<std::int64_t> value = wide ? ParseInt64(count) : std::optional<std::int64_t>(ParseInt32(count));
        return {value.value_or(0), 0};
    }
    const auto start = static_cast<std::size_t>(count.data() - line.data());
    const std::size_t end = start + count.size();
    const std::size_t written = WrittenEnd(line, end, false);
    const TypedNumber reading = ReadWritten(line.substr(start, written - start), wide);
    ReportCount read{0, written};
    if (reading.kind == TypedNumberKind::OutOfRange) {
        AddNote(notes, Note(lineNumber, what, line.substr(start, written - start), OutOfRange(wide)));
        return read;
    }
    if (reading.kind == TypedNumberKind::Count) {
        read.value = reading.value;
        if (written != end)
            AddNote(notes, Note(lineNumber, what, line.substr(start, written - start),
                                "read as " + std::to_string(read.value)));
    } else {
        // No count as a whole ("1,5"): its first digits, as a count stops at what is no digit.
        const std::optional<std::int64_t> digits =
            wide ? ParseInt64(count) : std::optional<std::int64_t>(ParseInt32(count));
        if (!digits) {
            AddNote(notes, Note(lineNumber, what, count, OutOfRange(wide)));
            return {0, end};
        }
        read = {*digits, end};
    }
    const std::size_t cut = WrittenEnd(line, read.end, blankGroups);
    if (cut == read.end) return read;
    const char stop = line[read.end];
    const std::string stopText = stop == ' ' ? std::string("a blank") : "'" + std::string(1, stop) + "'";
    AddNote(notes, Note(lineNumber, what, line.substr(start, cut - start),
                        "read as " + std::to_string(read.value) + " (a count stops at " + stopText + ")"));
    return read;
}

std::int32_t ReadFieldCount(int lineNumber, std::string_view field, std::string_view what, ReportNotes* notes) {
    if (const std::optional<std::int32_t> plain = ParseInt32(field)) return *plain;
    if (field.empty()) return 0;  // two blanks in a row
    const TypedNumber reading = ReadWritten(field, false);
    if (reading.kind == TypedNumberKind::OutOfRange) AddNote(notes, Note(lineNumber, what, field, OutOfRange(false)));
    if (reading.kind != TypedNumberKind::Count) return 0;
    AddNote(notes, Note(lineNumber, what, field, "read as " + std::to_string(reading.value)));
    return static_cast<std::int32_t>(reading.value);
}

void AddNote(ReportNotes* notes, std::optional<ReportNote> note) {
    if (notes != nullptr && note) notes->push_back(std::move(*note));
}

std::vector<std::string> NotesInLineOrder(ReportNotes notes) {
    std::stable_sort(notes.begin(), notes.end(), [](const ReportNote& a, const ReportNote& b) { return a.line < b.line; });
    // Two passes over the same text may note the same count twice: it is told once.
    std::set<std::string_view> told;
    std::vector<std::string> texts;
    for (ReportNote& note : notes)
        if (told.insert(note.text).second) texts.push_back(note.text);
    return texts;
}

}  // namespace kestrin
