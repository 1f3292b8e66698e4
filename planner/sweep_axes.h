#pragma once

#include <span>
#include <vector>

#include "planner/axis_scale.h"
#include "planner/sweep_figures.h"
#include "planner/sweep_findings.h"

namespace kestrin {

/// The figure a finding's marker sits on when that figure is plotted (an index into
/// kSweepFigures).
int FindingFigure(FindingKind kind);

/// What an axis of `figures` (indexes into kSweepFigures) would show of `plotted` (one per
/// point, as plotted): ShownRange of the values the figures have; nothing (0 to 0) when
/// they have none.
ValueRange FiguresRange(std::span<const SweepFigures> plotted, std::span<const int> figures);

/// The scale of the axis of `figures`: their range widened to hold each finding whose figure
/// is one of them (a finding may lie between the points and is what matters most), made
/// round by NiceScale. Both faces draw a sweep's axes with it.
AxisScale FiguresAxis(std::span<const SweepFigures> plotted, std::span<const int> figures,
                      const SweepFindings& findings);

/// The shown figures by axis: the resource figures of like size, the resource figures twenty
/// times smaller than the largest, the asteroid counts; empty groups left out.
std::vector<std::vector<int>> AxisGroups(std::span<const SweepFigures> plotted, std::span<const int> shown);

}  // namespace kestrin
