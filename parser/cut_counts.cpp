#include "cut_counts.h"

#include <algorithm>
#include <set>

#include "engine/number_text.h"

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

std::optional<ReportNote> CutCountNote(int lineNumber, std::string_view line, std::string_view count,
                                        std::string_view what, std::int64_t value, bool blankGroups) {
    // A number token is always a view into its line; anything else cannot have been cut.
    if (count.data() < line.data() || count.data() + count.size() > line.data() + line.size()) return std::nullopt;
    const auto start = static_cast<std::size_t>(count.data() - line.data());
    const std::size_t end = start + count.size();
    const std::size_t written = WrittenEnd(line, end, blankGroups);
    if (written == end) return std::nullopt;
    const char stop = line[end];
    const std::string stopText = stop == ' ' ? std::string("a blank") : "'" + std::string(1, stop) + "'";
    return ReportNote{lineNumber, "line " + std::to_string(lineNumber) + ": " + std::string(what) + ": '" +
                                      ShortenedForMessage(line.substr(start, written - start)) + "' read as " +
                                      std::to_string(value) + " (a count stops at " + stopText + ")"};
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
