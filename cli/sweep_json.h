#pragma once

#include <vector>

#include "cli_output.h"
#include "planner/sweep_figures.h"

namespace kestrin {

/// Every figure of a tick (or of the summed ticks) by its key, in kSweepFigures order.
Json FiguresJson(const SweepFigures& figures);

/// A point's ticks as sweep prints them: {"tick", "panel", "figures"} per tick, tick 1 first.
Json TicksJson(const std::vector<SweepFigures>& ticks);

}  // namespace kestrin
