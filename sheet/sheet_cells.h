#pragma once

#include <array>
#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>

#include "sheet/sheet_layout.h"

namespace kestrin {

/// A count as the sheet writes it: plain decimal digits, and an empty text for zero. Every
/// command that writes a count (a spin, "Use this value", "Use this fleet", the debug runs)
/// writes it so, so that a saved file does not depend on where the count came from.
std::string CountText(std::int64_t value);

/// The 12 x 66 text cells of a battle sheet: the state of a battle between recalculations.
/// An empty cell means zero; numbers are written as plain decimal integers and a zero
/// result as an empty cell.
class SheetCells {
public:
    /// The sheet's size: 12 columns of 66 rows.
    static constexpr int kColumnCount = sheet::kColumns, kRowCount = sheet::kRows;

    /// The text of cell (col, row).
    const std::string& At(int col, int row) const {
        assert(InRange(col, row));
        return cells_[col][row];
    }
    /// Replaces the text of cell (col, row).
    void Set(int col, int row, std::string_view text) {
        assert(InRange(col, row));
        cells_[col][row].assign(text);
    }
    /// Empties cell (col, row).
    void Clear(int col, int row) {
        assert(InRange(col, row));
        cells_[col][row].clear();
    }
    /// Empties every cell.
    void ClearAll();

    /// The cell read as a 32-bit count; text that is not an integer counts as 0.
    std::int32_t Count(int col, int row) const;
    /// The cell read as a 64-bit integer; text that is not an integer counts as 0.
    std::int64_t Int64(int col, int row) const;

    /// Writes `value` as a plain integer, or empties the cell when it is zero.
    void WriteCount(int col, int row, std::int64_t value);
    /// Writes `value` when it is greater than zero, else empties the cell (rows 64, 65).
    void WritePositive(int col, int row, std::int64_t value) { WriteCount(col, row, value > 0 ? value : 0); }

    /// Whether (col, row) lies on the sheet.
    static constexpr bool InRange(int col, int row) {
        return col >= 0 && col < sheet::kColumns && row >= 0 && row < sheet::kRows;
    }

    friend bool operator==(const SheetCells&, const SheetCells&) = default;

private:
    std::array<std::array<std::string, sheet::kRows>, sheet::kColumns> cells_;
};

}  // namespace kestrin
