#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "planner/sweep_figures.h"

namespace kestrin {

/// What the fleet advisor looks for.
enum class FleetGoal {
    /// The most initiated asteroids captured over the ticks; ties to the least fleet value lost.
    Roids,
    /// The least attacker fleet value lost per initiated asteroid, capturing at least minRoids.
    LossPerRoid,
    /// The smallest attacker fleet value sent that still captures the most initiated asteroids.
    SmallestFleet,
};

/// A goal with its limits.
struct FleetAim {
    FleetGoal goal = FleetGoal::Roids;
    /// LossPerRoid: the fewest initiated asteroids a fleet must capture (at least one counts).
    std::int64_t minRoids = 1;
    /// Every goal: the most attacker fleet value a fleet may lose over the ticks.
    std::optional<std::int64_t> maxLoss;
};

/// What the goals compare of one fleet's battle.
struct FleetOutcome {
    std::int64_t roids = 0;      ///< initiated asteroids captured, summed over the ticks
    std::int64_t loss = 0;       ///< attacker fleet value lost, summed (negative for a gain)
    std::int64_t sentValue = 0;  ///< the attacker's fleet value at the first tick

    friend bool operator==(const FleetOutcome&, const FleetOutcome&) = default;
};

/// The outcome of a battle whose ticks sum to `whole` (WholeBattleFigures) and whose attacker
/// sent a fleet worth `sentValue`.
FleetOutcome OutcomeOf(const SweepFigures& whole, std::int64_t sentValue);

/// Whether `outcome` keeps the aim's limits (the asteroids asked for, the loss allowed).
bool MeetsLimits(const FleetAim& aim, const FleetOutcome& outcome);

/// Whether `a` serves the aim strictly better than `b`. A fleet within the limits beats any
/// outside them; of two outside, the one nearer to them wins.
bool BetterOutcome(const FleetAim& aim, const FleetOutcome& a, const FleetOutcome& b);

/// Whether `goal` reads the fewest asteroids to capture ("At least roids"); the others ignore it.
constexpr bool GoalUsesMinRoids(FleetGoal goal) { return goal == FleetGoal::LossPerRoid; }

/// A goal as a player chooses it: its name (kestrin-cli's and the page's) and its title.
struct FleetGoalChoice {
    FleetGoal goal;
    const char* name;
    const char* title;
};

/// The goals in the order the planner lists them.
inline constexpr std::array<FleetGoalChoice, 3> kFleetGoalChoices{{
    {FleetGoal::Roids, "roids", "Most init. roids captured"},
    {FleetGoal::LossPerRoid, "loss-per-roid", "Least loss per init. roid"},
    {FleetGoal::SmallestFleet, "smallest-fleet", "Smallest fleet for the most roids"},
}};

/// The goal named on the command line ("roids", "loss-per-roid", "smallest-fleet").
std::optional<FleetGoal> FleetGoalNamed(const std::string& name);

}  // namespace kestrin
