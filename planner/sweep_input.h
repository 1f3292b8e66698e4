#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ship_catalogue.h"
#include "sheet/sheet_cells.h"

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
std::vector<SweepRow> SweepableRows(const SheetCells& cells, Side side);

/// The varied input named by a row caption as the grid shows it ("Harpy", "Metal Roids";
/// "Eonium" also names the Eonium row), or by a row number.
struct SweepInputFound {
    std::optional<SweepInput> input;
    std::string error;  ///< why the name is no input, when `input` is empty
};

/// Finds the input `rowName` names on `side` of the sheet `cells`.
SweepInputFound FindSweepInput(const SheetCells& cells, Side side, std::string_view rowName);

/// Whether `a` and `b` hold the same inputs (columns 1 and 7 below the headings, the totals
/// rows left out) apart from the cell `except` varies: a sweep of one is a sweep of the other.
bool SameBattleApartFrom(const SheetCells& a, const SheetCells& b, const SweepInput& except);

/// The smallest and largest value the sheet reads from the input cell of `row`: 32-bit
/// counts, the planet score 64-bit.
std::int64_t SweepValueMin(int row);
/// See SweepValueMin.
std::int64_t SweepValueMax(int row);

}  // namespace kestrin
