#include "fleet_goal.h"

#include <algorithm>
#include <limits>
#include <tuple>

#include "engine/saturating.h"

namespace kestrin {

namespace {

// How far an outcome misses the limits: asteroids short, then value lost beyond the limit.
std::tuple<std::int64_t, std::int64_t> Shortfall(const FleetAim& aim, const FleetOutcome& o) {
    const std::int64_t roidsShort =
        aim.goal == FleetGoal::LossPerRoid ? std::max<std::int64_t>(0, std::max<std::int64_t>(aim.minRoids, 1) - o.roids) : 0;
    const Int128 excess = aim.maxLoss ? Int128{o.loss} - *aim.maxLoss : 0;
    return {roidsShort, static_cast<std::int64_t>(std::max<Int128>(0, excess))};
}

// Loss per asteroid compared exactly (both capture at least one): a.loss/a.roids < b.loss/b.roids.
bool LessLossPerRoid(const FleetOutcome& a, const FleetOutcome& b) {
    return Int128{a.loss} * b.roids < Int128{b.loss} * a.roids;
}

bool BetterWithinLimits(FleetGoal goal, const FleetOutcome& a, const FleetOutcome& b) {
    switch (goal) {
        case FleetGoal::Roids:
            return std::tuple(-a.roids, a.loss, a.sentValue) < std::tuple(-b.roids, b.loss, b.sentValue);
        case FleetGoal::LossPerRoid:
            if (LessLossPerRoid(a, b)) return true;
            if (LessLossPerRoid(b, a)) return false;
            return std::tuple(-a.roids, a.sentValue) < std::tuple(-b.roids, b.sentValue);
        case FleetGoal::SmallestFleet:
            return std::tuple(-a.roids, a.sentValue, a.loss) < std::tuple(-b.roids, b.sentValue, b.loss);
    }
    return false;
}

}  // namespace

FleetOutcome OutcomeOf(const SweepFigures& whole, std::int64_t sentValue) {
    // The panel's change is negative for a loss; negating the 64-bit minimum saturates.
    const std::int64_t change = whole.results.ALoss;
    const std::int64_t loss = change == std::numeric_limits<std::int64_t>::min() ? std::numeric_limits<std::int64_t>::max() : -change;
    return {whole.results.TIR, loss, sentValue};
}

bool MeetsLimits(const FleetAim& aim, const FleetOutcome& outcome) {
    return Shortfall(aim, outcome) == std::tuple<std::int64_t, std::int64_t>{0, 0};
}

bool BetterOutcome(const FleetAim& aim, const FleetOutcome& a, const FleetOutcome& b) {
    const auto shortA = Shortfall(aim, a), shortB = Shortfall(aim, b);
    if (shortA != shortB) return shortA < shortB;
    return BetterWithinLimits(aim.goal, a, b);
}

std::optional<FleetGoal> FleetGoalNamed(const std::string& name) {
    for (const FleetGoalChoice& choice : kFleetGoalChoices)
        if (name == choice.name) return choice.goal;
    return std::nullopt;
}

}  // namespace kestrin
