#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "sheet/results.h"

namespace kestrin {

/// One tick of one sweep point: every figure of the results panel as a number, and each
/// side's fleet value left (row 59 of the Left columns).
struct SweepFigures {
    ResultFigures results;
    std::int64_t defenderValueLeft = 0;
    std::int64_t attackerValueLeft = 0;

    friend bool operator==(const SweepFigures&, const SweepFigures&) = default;
};

/// A figure by its stable name (camelCase, for JSON and CSV) and its title in the planner
/// window.
struct SweepFigureInfo {
    const char* key;
    const char* title;
    std::int64_t (*value)(const SweepFigures&);
    /// An asteroid count rather than a resource figure (a chart gives it its own axis).
    bool roids = false;
};

/// Number of figures per tick.
inline constexpr int kSweepFigureCount = 14;

/// Every figure, in output order: the panel's boxes (DLoss, ALoss, UR, MR, CR, ER, TR, TIR,
/// ALossPerRoid, MSalvage, CSalvage, ESalvage) with the panel's signs, then the values left.
extern const std::array<SweepFigureInfo, kSweepFigureCount> kSweepFigures;

/// Indexes into kSweepFigures of the figures the planner marks and plots by default.
inline constexpr int kDefenderChangeFigure = 0, kAttackerChangeFigure = 1, kRoidsLostFigure = 6, kInitRoidsFigure = 7,
                     kAttackerPerRoidFigure = 8;

/// Whether figure `figure` (an index into kSweepFigures) has a value in `figures`: the change
/// per initiated asteroid has none where no initiated asteroid is captured (the panel shows 0,
/// which would read as the best of all).
bool FigureDefined(int figure, const SweepFigures& figures);

/// The whole battle over `ticks` (at least one): the changes, asteroids and salvage summed,
/// the attacker's change per initiated asteroid as summed change div summed asteroids (0 when
/// fewer than one), the values left of the last tick.
SweepFigures WholeBattleFigures(std::span<const SweepFigures> ticks);

/// The results panel's texts of a point's tick `tick` (1 first), as the desktop program
/// shows them after that tick's recalculation.
ResultsPanel SweepPanel(const SweepFigures& figures, int tick, const NumberLocale& locale);

}  // namespace kestrin
