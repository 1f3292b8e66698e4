#include "combat_report.h"

#include <algorithm>
#include <string_view>

#include "engine/number_text.h"
#include "ship_names.h"

namespace kestrin {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Every line is read without its last character.
std::string_view Body(std::string_view line) { return line.substr(0, line.empty() ? 0 : line.size() - 1); }

// The line being read, for the notes: its number and the figure's name.
struct FieldPlace {
    int lineNumber;
    std::string_view what;
    ReportNotes* notes;
};

// Calls store(fieldIndex, value) for every field that a blank ends (with `blankAfter`, the
// text's end counts as one); two blanks in a row end an empty field, which reads as 0.
template <typename Store>
void ForEachField(std::string_view text, bool blankAfter, const FieldPlace& place, Store store) {
    std::size_t start = 0;
    int field = 0;
    for (std::size_t i = 0; i < text.size() + (blankAfter ? 1 : 0); ++i) {
        if (i < text.size() && text[i] != ' ') continue;
        store(field++, ReadFieldCount(place.lineNumber, text.substr(start, i - start), place.what, place.notes));
        start = i + 1;
    }
}

void ReadUnitLine(std::string_view line, int lineNumber, const ShipCatalogue& catalogue, CombatReport& r,
                  ReportNotes* notes) {
    if (line.empty() || line == " ") return;
    const std::string_view body = Body(line);
    const auto digit = std::find_if(body.begin(), body.end(), IsDigit);
    if (digit == body.end()) return;
    const std::size_t split = static_cast<std::size_t>(digit - body.begin());
    // The name is the head without its separator, with blanks and apostrophes dropped, so
    // "Man O' War" reads as "ManOWar".
    std::string name;
    for (char c : body.substr(0, split == 0 ? 0 : split - 1))
        if (c != ' ' && c != '\'') name += c;
    const ShipIndex k = MatchShipName(name, catalogue);
    if (k < 0) return;
    std::array<std::int32_t, kShipCount>* columns[] = {&r.AttackerTotal, &r.AttackerLost,
                                                      &r.AttackerHeld,  &r.DefenderTotal,
                                                      &r.DefenderLost,  &r.DefenderHeld};
    // A PDS line starts with the defender's total: the attacker cannot have PDS.
    const int first = k >= kFirstPds ? 3 : 0;
    const std::string_view figures = body.substr(split);
    const std::string& what = catalogue.Name(k);
    ForEachField(figures.substr(0, figures.size() - 1), false, {lineNumber, what, notes}, [&](int field, std::int32_t value) {
        if (first + field <= 5) (*columns[first + field])[k] = value;
    });
}

int RoidKindOf(std::string_view keyword) {
    constexpr std::string_view kKinds[] = {"Resource", "Metal", "Crystal", "Eonium"};
    for (int k = 0; k < 4; ++k)
        if (keyword == kKinds[k]) return k;
    return -1;
}

void ReadAsteroidLines(TextLines lines, CombatReport& r, ReportNotes* notes) {
    bool inSection = false;
    int lineNumber = 0;
    for (std::string_view line : lines) {
        ++lineNumber;
        const std::string_view body = Body(line);
        const std::size_t blank = body.find(' ');
        if (blank == std::string_view::npos) continue;
        const std::string_view keyword = body.substr(0, blank);
        if (keyword == "Asteroids") inSection = true;
        if (keyword == "Salvage/Stolen") inSection = false;
        const int kind = RoidKindOf(keyword);
        if (!inSection || kind < 0) continue;
        ForEachField(body.substr(blank + 1), true, {lineNumber, keyword, notes}, [&](int field, std::int32_t value) {
            if (field == 0) r.RoidsBefore[kind] = value;
            if (field == 1) r.RoidsSecond[kind] = value;
        });
    }
}

}  // namespace

CombatReport ReadCombatReport(TextLines lines, const ShipCatalogue& catalogue, ReportNotes* notes) {
    CombatReport report;
    int lineNumber = 0;
    for (std::string_view line : lines) ReadUnitLine(line, ++lineNumber, catalogue, report, notes);
    ReadAsteroidLines(lines, report, notes);
    return report;
}

}  // namespace kestrin
