#include "scan_readers.h"

#include "engine/number_text.h"
#include "ship_names.h"
#include "tokenizer.h"

namespace kestrin {

namespace {

struct LayoutKeywords {
    const char* score;
    const char* eonium;                   // the planet's Eonium stock, before the asteroid block
    const char* roidKinds[4];             // uninitiated, metal, crystal, eonium
    bool roidsNeedFlag;                   // asteroid kinds count only inside the block
};

// The first layout names everything on one word each; the second opens an asteroid block
// with "Asteroids(" and names the kinds inside it.
constexpr LayoutKeywords kLayouts[2] = {
    {"Score", "Eonium", {"UnknownAsteroids", "MetalAsteroids", "CrystalAsteroids", "EoniumAsteroids"}, false},
    {")Score:", "Eonium:", {"Uninitiated", "Metal", "Crystal", "Eonium"}, true},
};

// How notes name the figures: the score, Eonium and the asteroid kinds.
constexpr const char* kFigureNames[] = {"Score", "Eonium", "Uninitiated asteroids", "Metal asteroids",
                                        "Crystal asteroids", "Eonium asteroids"};

// The rules a keyword matched, applied once the value after it is known.
struct PendingRules {
    bool score = false;
    bool eonium = false;
    int roidKind = -1;

    bool Any() const { return score || eonium || roidKind >= 0; }

    // The figure a note names: the one the value went to (an asteroid kind before the rest).
    int Figure() const { return roidKind >= 0 ? 2 + roidKind : score ? 0 : 1; }
};

void Apply(const PendingRules& rules, std::int64_t value, PlanetFigures& figures) {
    if (rules.score) figures.Score = value;
    if (rules.eonium) figures.Eonium = value;
    if (rules.roidKind >= 0) figures.Roids[rules.roidKind] = static_cast<std::int32_t>(value);
}

// The value of a keyword is the count written next (an asteroid count 32-bit, the others
// 64-bit), 0 when it is no number or when the keyword ends its line.
void ReadLayout(TextLines lines, const LayoutKeywords& layout, PlanetFigures& figures, ReportNotes* notes) {
    bool asteroidsSeen = false;
    int lineNumber = 0;
    for (std::string_view line : lines) {
        ++lineNumber;
        LineTokens tokens(line);
        PendingRules pending;
        for (std::string_view token; tokens.Next(token);) {
            if (pending.Any()) {
                if (IsDigitToken(token)) {
                    const ReportCount count = ReadReportCount(lineNumber, line, token, kFigureNames[pending.Figure()],
                                                              pending.roidKind < 0, false, notes);
                    Apply(pending, count.value, figures);
                    tokens.SkipTo(count.end);
                    pending = {};
                    continue;
                }
                Apply(pending, LenientInt64(token), figures);
            }
            pending = {};
            if (IsNumberToken(token)) continue;
            if (token == "Asteroids(") asteroidsSeen = true;
            pending.score = token == layout.score;
            pending.eonium = token == layout.eonium && !asteroidsSeen;
            for (int k = 0; k < 4; ++k)
                if (token == layout.roidKinds[k] && (asteroidsSeen || !layout.roidsNeedFlag)) pending.roidKind = k;
        }
        if (pending.Any()) Apply(pending, 0, figures);
    }
}

}  // namespace

UnitCounts ReadUnitScan(TextLines lines, const ShipCatalogue& catalogue, ReportNotes* notes) {
    UnitCounts counts{};
    int lineNumber = 0;
    for (std::string_view line : lines) {
        ++lineNumber;
        LineTokens tokens(line);
        ShipIndex named = -1;  // the unit the previous token named
        for (std::string_view token; tokens.Next(token);) {
            if (named >= 0 && IsDigitToken(token)) {
                // A unit scan gives one count per name: a blank and three digits after it
                // are told as a cut count ("2 000").
                const ReportCount count = ReadReportCount(lineNumber, line, token, catalogue.Name(named), false, true, notes);
                counts[named] = static_cast<std::int32_t>(count.value);
                tokens.SkipTo(count.end);
                named = -1;
                continue;
            }
            if (named >= 0) counts[named] = LenientInt32(token);
            named = IsNumberToken(token) ? -1 : MatchShipName(token, catalogue);
        }
    }
    return counts;
}

void ReadPlanetScan(TextLines lines, PlanetFigures& figures, ReportNotes* notes) {
    for (const LayoutKeywords& layout : kLayouts) ReadLayout(lines, layout, figures, notes);
}

}  // namespace kestrin
