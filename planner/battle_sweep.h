#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/battle_state.h"
#include "engine/shot_solver.h"
#include "planner/sweep_figures.h"
#include "planner/sweep_input.h"

namespace kestrin {

/// What to sweep: the battle's inputs as the sheet's next recalculation reads them
/// (SheetInputs), the varied input, its values (SweepValues of a checked range) and the ticks
/// to follow each value for.
struct SweepRequest {
    BattleState battle;
    SweepInput input;
    std::vector<std::int64_t> values;
    int ticks = 1;
    SolverVariant solver = SolverVariant::New;
};

/// One value of the sweep and its figures, tick 1 first.
struct SweepPoint {
    std::int64_t value = 0;
    std::vector<SweepFigures> ticks;

    friend bool operator==(const SweepPoint&, const SweepPoint&) = default;
};

/// How a sweep runs. Both callbacks' owners must outlive the run.
struct SweepControl {
    /// Worker threads; 0 means one per core.
    int workers = 0;
    /// Told (finished points, all points) after each finished point. Called from the worker
    /// threads, one call at a time.
    std::function<void(std::size_t done, std::size_t total)> progress = {};
    /// Set by the caller (from any thread) to stop: each worker finishes the point it is on
    /// and takes no other.
    const std::atomic<bool>* cancel = nullptr;
    /// When set, told each point in point order as soon as it and every point before it are
    /// finished (from the worker threads, one call at a time), and the result keeps no
    /// points: the workers run at most a few points ahead of the first unfinished one, so
    /// the memory held does not grow with the range. What it throws stops the sweep.
    std::function<void(const SweepPoint& point)> pointFinished = {};
};

/// A sweep's outcome: the finished points in value order (none when they were handed to
/// SweepControl::pointFinished).
struct SweepResult {
    std::vector<SweepPoint> points;
    /// Cancelled: some values have no point (or were not handed on).
    bool partial = false;
};

/// Runs the sweep on a WorkerPool. Each point is an independent battle: its first tick is the
/// sheet recalculated with the value in the input cell, each further tick what the sheet's
/// StepForward gives. Results go by point index, so they never depend on the number of
/// workers or their timing. What a worker throws (std::bad_alloc when the memory runs out)
/// stops every worker and is thrown again here once all have stopped; so is a failure to
/// start the workers (std::system_error).
SweepResult RunSweep(const BattleRules& rules, const SweepRequest& request, const SweepControl& control);

}  // namespace kestrin
