#pragma once

#include "engine/battle_state.h"
#include "sheet/fleet_value.h"
#include "sheet/sheet_cells.h"

namespace kestrin {

/// What a recalculation reads first: the ship counts of columns 1 and 7, the defender's
/// asteroids and Eonium, and both planet scores, read leniently from the cells.
/// The other fields of `state` are left as they are.
void ReadSheetInputs(const SheetCells& cells, BattleState& state);

/// ReadSheetInputs into a fresh state: what the sheet's next recalculation starts from.
BattleState SheetInputs(const SheetCells& cells);

/// The inputs as a recalculation writes them back into their cells, so as the recalculation
/// after that reads them: the Eonium and the scores keep only positive values.
BattleState InputsAsWritten(BattleState inputs);

/// After the tick: Left += Stole for every unit type and side, so that Left counts
/// the ships a side stole. Clamped to the 32-bit range, so that every count the sheet
/// writes reads back as the same count.
void AddStolenToLeft(BattleState& state);

/// What a recalculation writes back: the headings "Stole" and "Left", the unit rows, the fleet
/// rows 55..59, the asteroid rows, the Eonium row and the planet scores, from a simulated
/// `state` whose Left already includes Stole.
void WriteResultRows(SheetCells& cells, const BattleState& state, const FleetCosts& costs);

/// The tick carry, StepForward's rule on numbers: the survivors (stolen ships included) become
/// the fleets, the defender keeps its asteroids and Eonium less the captured ones; the Eonium
/// and the scores keep only positive values, as the recalculation writes them. The planner
/// carries a simulated state with it; the sheet what its Left columns show.
void CarryToNextTick(BattleState& state);

/// What the last recalculation left, as CarryToNextTick takes it: the Left columns' counts,
/// the defender's asteroids and Eonium left (nothing more to subtract) and the scores.
BattleState ReadTickLeft(const SheetCells& cells);

/// The input columns as a recalculation writes them back from the inputs it read: counts in
/// normal form (text that is no count empties), the Eonium and the scores only when positive;
/// the attacker's captured asteroids and Eonium stay as they stand. For a battle read without
/// a sheet, to tell what opening it would make of each cell.
void WriteInputsBack(SheetCells& cells, const BattleState& inputs);

/// Writes a carried state into the input columns: the ships of both sides, the defender's
/// asteroids and Eonium. The attacker's columns of those rows take the captures accumulated
/// so far; the scores stay as they stand.
void WriteCarriedInputs(SheetCells& cells, const BattleState& state);

}  // namespace kestrin
