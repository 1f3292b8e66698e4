#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "planner/battle_sweep.h"
#include "sheet/number_format.h"

namespace kestrin {

/// What the planner states of a sweep, in the order it lists them.
enum class FindingKind {
    MostInitRoids,      ///< the smallest value that captures the most initiated asteroids
    LowestLossPerRoid,  ///< the value with the lowest attacker loss per initiated asteroid
    DefenderWiped,      ///< the smallest value that leaves the defender no fleet value
};

/// Number of findings.
inline constexpr int kFindingCount = 3;

/// One finding: the point it chose and the figure that makes it.
struct SweepFinding {
    std::size_t point = 0;  ///< index into the sweep's points
    std::int64_t value = 0;
    std::int64_t figure = 0;  ///< asteroids captured, change per asteroid, defender's change

    friend bool operator==(const SweepFinding&, const SweepFinding&) = default;
};

/// The findings of a sweep, by FindingKind; none where no point qualifies.
using SweepFindings = std::array<std::optional<SweepFinding>, kFindingCount>;

/// The findings of `points` as plotted: `plotted` holds one figures entry per point, its last
/// tick or its whole battle. Initiated asteroids must be captured for the first two; the third
/// needs a defender that had a fleet value at the start and none left at the last tick. Ties
/// go to the smallest value.
SweepFindings FindSweepFindings(std::span<const SweepPoint> points, std::span<const SweepFigures> plotted);

/// A finding in words, e.g. "Most init. roids captured: 257, from Attacker AstroPod = 1,200
/// (more adds nothing)", or what is missing when there is none.
std::string FindingText(FindingKind kind, const std::optional<SweepFinding>& finding, const std::string& input,
                        const NumberLocale& locale);

/// The findings as CSV lines after a sweep's own: a blank line, "finding,value,figure", then
/// one line per finding found.
std::string FindingsCsv(const SweepFindings& findings);

}  // namespace kestrin
