#pragma once

#include <optional>
#include <span>

#include "planner/sweep_figures.h"

namespace kestrin {

/// The points worth marking on a sweep's chart, as indexes into the figures given.
struct SweepHighlights {
    /// The attacker loses least (or gains most) per initiated asteroid captured; only points
    /// that capture an initiated asteroid count.
    std::optional<std::size_t> bestPerRoid;
    /// The most asteroids captured, of all kinds; none when no point captures any.
    std::optional<std::size_t> mostRoids;
};

/// The highlights of one figures entry per point, in value order; ties go to the first
/// point, the smallest value.
SweepHighlights FindHighlights(std::span<const SweepFigures> points);

}  // namespace kestrin
