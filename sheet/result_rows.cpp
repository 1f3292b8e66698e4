#include "result_rows.h"

#include <algorithm>

#include "engine/saturating.h"

namespace kestrin {

namespace {

using namespace sheet;

void WriteUnitRows(SheetCells& cells, const BattleState& state) {
    for (Side side : {Side::Defender, Side::Attacker}) {
        const int s = Idx(side);
        const int first = ShipsColumn(side);
        for (ShipIndex t = 0; t < kShipCount; ++t) {
            const int row = UnitRow(t);
            // Rewrites the input column in normal form: text that is no number empties.
            cells.WriteCount(first + 0, row, state.Ships[s][t]);
            cells.WriteCount(first + 1, row, state.Held[s][t]);
            cells.WriteCount(first + 2, row, state.Lost[s][t]);
            cells.WriteCount(first + 3, row, state.Stole[s][t]);
            cells.WriteCount(first + 4, row, state.Left[s][t]);
        }
    }
}

// The attacker's accumulated captures: what column 7 carried in plus this tick's, kept
// within the 32-bit range so that the next tick reads it back.
std::int64_t Accumulated(const SheetCells& cells, int row, std::int64_t captured) {
    return SaturatingInt32(std::int64_t{cells.Count(kAttShips, row)} + captured);
}

void WriteRoidRows(SheetCells& cells, const BattleState& state) {
    for (int k = 0; k < kRoidKinds; ++k) {
        const int row = kFirstRoidRow + k;
        const std::int64_t d = state.Roids[k];
        const std::int64_t c = state.RoidsCaptured[k];
        cells.WriteCount(kDefShips, row, d);
        cells.WriteCount(kDefLost, row, c);
        cells.WriteCount(kDefLeft, row, SaturatingInt32(d - c));
        cells.WriteCount(kAttStole, row, c);
        cells.WriteCount(kAttLeft, row, Accumulated(cells, row, c));
    }
}

// Unlike the other rows, the Eonium and score rows keep only positive values.
void WriteEoniumRow(SheetCells& cells, const BattleState& state) {
    const std::int64_t e = state.DefenderEonium;
    const std::int64_t x = state.EoniumCaptured;
    cells.WritePositive(kDefShips, kEoniumRow, e);
    cells.WritePositive(kDefLost, kEoniumRow, x);
    cells.WritePositive(kDefLeft, kEoniumRow, SaturatingInt32(e - x));
    cells.WritePositive(kAttStole, kEoniumRow, x);
    cells.WritePositive(kAttLeft, kEoniumRow, Accumulated(cells, kEoniumRow, x));
}

void WriteScoreRow(SheetCells& cells, const BattleState& state) {
    cells.WritePositive(kDefShips, kScoreRow, state.DefenderScore);
    cells.WritePositive(kAttShips, kScoreRow, state.AttackerScore);
    for (int col : {kDefHeld, kDefLost, kDefStole, kDefLeft, kAttHeld, kAttLost, kAttStole, kAttLeft})
        cells.Clear(col, kScoreRow);
}

}  // namespace

void ReadSheetInputs(const SheetCells& cells, BattleState& state) {
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        state.Ships[Idx(Side::Defender)][t] = cells.Count(kDefShips, UnitRow(t));
        state.Ships[Idx(Side::Attacker)][t] = cells.Count(kAttShips, UnitRow(t));
    }
    for (int k = 0; k < kRoidKinds; ++k) state.Roids[k] = cells.Count(kDefShips, kFirstRoidRow + k);
    state.DefenderEonium = cells.Count(kDefShips, kEoniumRow);
    state.AttackerScore = cells.Int64(kAttShips, kScoreRow);
    state.DefenderScore = cells.Int64(kDefShips, kScoreRow);
}

BattleState SheetInputs(const SheetCells& cells) {
    BattleState inputs;
    ReadSheetInputs(cells, inputs);
    return inputs;
}

BattleState InputsAsWritten(BattleState inputs) {
    inputs.DefenderEonium = std::max(0, inputs.DefenderEonium);
    inputs.DefenderScore = std::max<std::int64_t>(0, inputs.DefenderScore);
    inputs.AttackerScore = std::max<std::int64_t>(0, inputs.AttackerScore);
    return inputs;
}

void AddStolenToLeft(BattleState& state) {
    for (int s = 0; s < 2; ++s)
        for (ShipIndex t = 0; t < kShipCount; ++t)
            state.Left[s][t] = SaturatingInt32(std::int64_t{state.Left[s][t]} + state.Stole[s][t]);
}

void CarryToNextTick(BattleState& state) {
    state.Ships = state.Left;
    for (int k = 0; k < kRoidKinds; ++k)
        state.Roids[k] = SaturatingInt32(std::int64_t{state.Roids[k]} - state.RoidsCaptured[k]);
    state.DefenderEonium =
        std::max(0, SaturatingInt32(std::int64_t{state.DefenderEonium} - state.EoniumCaptured));
    state.DefenderScore = std::max<std::int64_t>(0, state.DefenderScore);
    state.AttackerScore = std::max<std::int64_t>(0, state.AttackerScore);
}

BattleState ReadTickLeft(const SheetCells& cells) {
    BattleState left;
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        left.Left[Idx(Side::Defender)][t] = cells.Count(kDefLeft, UnitRow(t));
        left.Left[Idx(Side::Attacker)][t] = cells.Count(kAttLeft, UnitRow(t));
    }
    for (int k = 0; k < kRoidKinds; ++k) left.Roids[k] = cells.Count(kDefLeft, kFirstRoidRow + k);
    left.DefenderEonium = cells.Count(kDefLeft, kEoniumRow);
    left.DefenderScore = cells.Int64(kDefShips, kScoreRow);
    left.AttackerScore = cells.Int64(kAttShips, kScoreRow);
    return left;
}

void WriteCarriedInputs(SheetCells& cells, const BattleState& state) {
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        cells.WriteCount(kDefShips, UnitRow(t), state.Ships[Idx(Side::Defender)][t]);
        cells.WriteCount(kAttShips, UnitRow(t), state.Ships[Idx(Side::Attacker)][t]);
    }
    for (int k = 0; k < kRoidKinds; ++k) cells.WriteCount(kDefShips, kFirstRoidRow + k, state.Roids[k]);
    cells.WritePositive(kDefShips, kEoniumRow, state.DefenderEonium);
    // The attacker's captures so far are no input of the tick: they pass on as they stand.
    for (int row = kFirstRoidRow; row <= kEoniumRow; ++row) cells.Set(kAttShips, row, cells.At(kAttLeft, row));
}

void WriteInputsBack(SheetCells& cells, const BattleState& inputs) {
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        cells.WriteCount(kDefShips, UnitRow(t), inputs.Ships[Idx(Side::Defender)][t]);
        cells.WriteCount(kAttShips, UnitRow(t), inputs.Ships[Idx(Side::Attacker)][t]);
    }
    for (int k = 0; k < kRoidKinds; ++k) cells.WriteCount(kDefShips, kFirstRoidRow + k, inputs.Roids[k]);
    cells.WritePositive(kDefShips, kEoniumRow, inputs.DefenderEonium);
    cells.WritePositive(kDefShips, kScoreRow, inputs.DefenderScore);
    cells.WritePositive(kAttShips, kScoreRow, inputs.AttackerScore);
}

void WriteResultRows(SheetCells& cells, const BattleState& state, const FleetCosts& costs) {
    cells.Set(kDefStole, kHeadingRow, "Stole");
    cells.Set(kAttStole, kHeadingRow, "Stole");
    cells.Set(kDefLeft, kHeadingRow, "Left");
    cells.Set(kAttLeft, kHeadingRow, "Left");
    WriteUnitRows(cells, state);
    WriteFleetRows(cells, state, costs);
    WriteRoidRows(cells, state);
    WriteEoniumRow(cells, state);
    WriteScoreRow(cells, state);
}

}  // namespace kestrin
