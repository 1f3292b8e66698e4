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

/// How the planner plots a point: the whole battle (its ticks summed) or its last tick.
enum class PlotMode { WholeBattle, LastTick };

/// Number of plot modes.
inline constexpr int kPlotModeCount = 2;

/// The figures of `point` as `mode` plots them.
SweepFigures PlottedFigures(const SweepPoint& point, PlotMode mode);

/// Where a figure first falls below a finding's, at a larger value.
struct SweepFall {
    std::int64_t value = 0;
    std::int64_t figure = 0;

    friend bool operator==(const SweepFall&, const SweepFall&) = default;
};

/// One finding: the value it chose and the figure that makes it.
struct SweepFinding {
    SweepFinding() = default;
    SweepFinding(std::int64_t value_, std::int64_t figure_, std::optional<SweepFall> falls_ = {})
        : value(value_), figure(figure_), falls(falls_) {}

    std::int64_t value = 0;
    std::int64_t figure = 0;  ///< asteroids captured, change per asteroid, defender's change
    /// For the most asteroids captured: the first larger value that captures fewer, if any
    /// (more ships may capture fewer: the defender's losses and the capture both change).
    std::optional<SweepFall> falls;

    friend bool operator==(const SweepFinding&, const SweepFinding&) = default;
};

/// The findings of a sweep, by FindingKind; none where no value qualifies.
using SweepFindings = std::array<std::optional<SweepFinding>, kFindingCount>;

/// The running best of each finding, for both plot modes at once, over points added in
/// ascending value order. It keeps each finding's point and nothing else, so a pass over every
/// value of a long range holds the same memory as one over a few.
///
/// Initiated asteroids must be captured for the first two findings (the loss per asteroid
/// is undefined without one, and compared as an exact fraction, not the panel's rounded
/// figure); the third needs a defender that had a fleet value at the start and none left at
/// the last tick. Ties go to the smallest value.
class FindingsTally {
public:
    /// Adds the next point; its value must be above every value added before.
    void Add(const SweepPoint& point);

    /// The findings of the points added, as `mode` plots them.
    SweepFindings Findings(PlotMode mode) const;
    /// The point (every tick) behind a finding, or null when there is none.
    const SweepPoint* Point(PlotMode mode, FindingKind kind) const;
    /// How many points were added.
    std::size_t Added() const { return added_; }

private:
    struct Best {
        SweepFinding finding;
        std::int64_t change = 0;  // the attacker's change and asteroids: the exact loss per asteroid
        std::int64_t roids = 0;
        SweepPoint point;
    };
    void Offer(std::optional<Best>& best, const SweepPoint& point, const SweepFigures& plotted, FindingKind kind);

    std::array<std::array<std::optional<Best>, kFindingCount>, kPlotModeCount> best_;
    std::size_t added_ = 0;
};

/// The findings of `points` (ascending values) as `mode` plots them.
SweepFindings FindSweepFindings(std::span<const SweepPoint> points, PlotMode mode);

/// Most whole values a range may hold for its findings to be stated over every one of them.
inline constexpr std::uint64_t kMaxExactFindingValues = 100000;

/// How many whole values lie from `from` to `to` (both included; 0 when `to` is below
/// `from`), saturating above kMaxExactFindingValues.
std::uint64_t WholeValuesInRange(std::int64_t from, std::int64_t to);

/// A pass over every value of a range for its findings: the tally, and whether it was
/// cancelled before the last value.
struct FindingsPass {
    FindingsTally tally;
    bool partial = false;
};

/// Runs `request` (usually every whole value of a range) as RunSweep does, on its workers with
/// its progress and cancel, folding each point into a tally as it is handed on instead of
/// keeping it: the memory held does not grow with the range. What RunSweep throws is thrown.
FindingsPass RunFindingsPass(const BattleRules& rules, const SweepRequest& request, const SweepControl& control);

/// A finding in words, e.g. "Most init. roids captured: 257, from Attacker AstroPod = 1,200
/// (more adds nothing)" when no larger value captures fewer, else "(falls to 240 at 1,500)",
/// or what is missing when there is none.
std::string FindingText(FindingKind kind, const std::optional<SweepFinding>& finding, const std::string& input,
                        const NumberLocale& locale);

/// What findings were taken over: "every value from 0 to 3,000 tried" when `exact`, else the
/// sweep's points and their step (`values` are the sweep's, ascending, at least two).
std::string FindingsScopeText(bool exact, std::span<const std::int64_t> values, const NumberLocale& locale);

/// What findings are taken over while every value of the range is still being tried: "over
/// the 21 points so far: trying every value from 0 to 3,000..." (`values` as above).
std::string FindingsPendingText(std::span<const std::int64_t> values, const NumberLocale& locale);

/// The findings as CSV lines after a sweep's own: a blank line, "finding,value,figure", then
/// one line per finding found.
std::string FindingsCsv(const SweepFindings& findings);

}  // namespace kestrin
