#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/battle_state.h"
#include "engine/ship_catalogue.h"
#include "sheet/sheet_layout.h"

namespace kestrin {

/// The input a sweep varies: the input cell of `side` (column 1 or 7) in `row`.
struct SweepInput {
    Side side = Side::Attacker;
    int row = sheet::kFirstUnitRow;

    friend bool operator==(const SweepInput&, const SweepInput&) = default;
};

/// One row a side's sweep may vary, with its caption as the grid shows it.
struct SweepRow {
    int row = 0;
    std::string caption;
};

/// The rows a sweep may vary on `side`, top to bottom: the unit rows with a caption (the
/// attacker has none for the planetary defences), and for the defender also the asteroid
/// and Eonium rows; both sides' planet scores. The attacker's asteroid and Eonium rows only
/// carry earlier captures and the totals rows are computed: neither is an input.
std::vector<SweepRow> SweepableRows(const ShipCatalogue& catalogue, Side side);

/// The varied input named by a row caption as the grid shows it ("Harpy", "Metal Roids";
/// "Eonium" also names the Eonium row), or by a row number.
struct SweepInputFound {
    std::optional<SweepInput> input;
    std::string error;  ///< why the name is no input, when `input` is empty
};

/// Finds the input `rowName` names on `side` of a sheet of the ships of `catalogue`.
SweepInputFound FindSweepInput(const ShipCatalogue& catalogue, Side side, std::string_view rowName);

/// Whether `a` and `b` hold the same inputs (both sides' ships, the defender's asteroids and
/// Eonium, both scores) apart from the one `except` varies: a sweep of one is a sweep of the
/// other.
bool SameBattleApartFrom(const BattleState& a, const BattleState& b, const SweepInput& except);

/// The smallest and largest value the sheet reads from the input cell of `row`: 32-bit
/// counts, the planet score 64-bit.
std::int64_t SweepValueMin(int row);
/// See SweepValueMin.
std::int64_t SweepValueMax(int row);

}  // namespace kestrin
