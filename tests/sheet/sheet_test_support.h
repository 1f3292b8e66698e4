#pragma once

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/battle_rules.h"
#include "sheet/battle_sheet.h"
#include "sheet/log_window_port.h"

namespace kestrin::testing {

/// The rules of the built-in statistics, built once.
inline const BattleRules& DefaultRules() {
    static const BattleRules rules = MakeBattleRules(DefaultShipCatalogue()).rules;
    return rules;
}

/// The built-in rules with the Corsair turned into a Zik special type, which captures
/// Eonium (the built-in table has none).
inline const BattleRules& EoniumRules() {
    static const BattleRules rules = [] {
        ShipCatalogue catalogue = DefaultShipCatalogue();
        ShipRecord& corsair = catalogue.ships[36];
        for (ShipField f : {ShipField::T1, ShipField::T2, ShipField::T3}) corsair[f] = "-";
        corsair[ShipField::ShipType] = "Special";
        return MakeBattleRules(catalogue).rules;
    }();
    return rules;
}

/// A stand-in for the calculation log window: records what the sheet asks of it.
class FakeLogWindow : public LogWindowPort, public BattleLogSink {
public:
    explicit FakeLogWindow(const SimulationContext& context) : context_(context) {}

    bool visible = false;
    bool updateLogEnabled = true;  ///< the button starts enabled
    int clears = 0;                ///< ClearLog calls
    int logRuns = 0;               ///< BeginLogRun calls: logged recalculations
    bool logEnabledInEveryStep = true;
    std::vector<std::string> lines;

    bool LogWindowVisible() const override { return visible; }
    void SetUpdateLogEnabled(bool enabled) override { updateLogEnabled = enabled; }
    void ClearLog() override {
        ++clears;
        lines.clear();
    }
    BattleLogSink& LogSink() override { return *this; }

    void BeginLogRun() override {
        ++logRuns;
        lines.clear();
    }
    void WriteLogStep(const StepLists& lists) override {
        logEnabledInEveryStep = logEnabledInEveryStep && context_.LogEnabled;
        for (const auto* list : {&lists.MemoHeader, &lists.MemoDef, &lists.MemoAtt})
            lines.insert(lines.end(), list->begin(), list->end());
    }

private:
    const SimulationContext& context_;
};

/// A sheet on the built-in rules with its own context.
struct SheetFixture {
    explicit SheetFixture(const BattleRules& rules = DefaultRules()) : sheet(rules, context) {}

    SimulationContext context;
    BattleSheet sheet;

    /// Writes a number into an input cell.
    void Put(int col, int row, long long value) { sheet.SetCell(col, row, std::to_string(value)); }
    /// Recalculates and expects success.
    void Recalc() { sheet.Recalculate(); }
};

/// Writes a random battle with a fixed-seed generator: sparse fleets of up to 200,000 ships,
/// asteroids, Eonium and scores. With `oddInputs`, now and then a negative figure or a count
/// that is no number, which the sheet reads as it reads any input.
inline void FillRandomBattle(SheetFixture& f, std::mt19937& rng, bool oddInputs) {
    using namespace sheet;
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_int_distribution<int> count(1, 200000);
    for (int col : {kDefShips, kAttShips}) {
        for (int row = kFirstUnitRow; row <= kLastUnitRow; ++row) {
            const int p = pick(rng);
            if (p < 3) f.Put(col, row, count(rng));
            if (p == 3 && oddInputs && pick(rng) == 0) f.sheet.SetCell(col, row, pick(rng) < 5 ? "-40" : "lots");
        }
        const int sign = oddInputs && pick(rng) == 0 ? -1 : 1;
        for (int row = kFirstRoidRow; row <= kEoniumRow; ++row)
            if (pick(rng) < 7) f.Put(col, row, sign * count(rng) / (row == kEoniumRow ? 1 : 20));
        if (pick(rng) < 6) f.Put(col, kScoreRow, sign * std::int64_t{count(rng)} * count(rng) / (1 + pick(rng)));
    }
}

// Unit types used in the tests.
inline constexpr ShipIndex kHarpy = 0, kPhoenix = 1, kDragon = 11, kSpider = 12, kCorsair = 36,
                           kThief = 39, kPirate = 46, kMesonicCutter = 49;

}  // namespace kestrin::testing
