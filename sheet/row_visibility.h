#pragma once

#include <array>

#include "sheet/sheet_cells.h"

namespace kestrin {

/// The race filters of the "Show Race" menus.
enum class RaceFilter { Ter, Cat, Xan, Zik, Pds, Roids };

/// Which rows of the sheet are shown (Compress, Expand, the race filters). Row 0 is always
/// shown; the grid gives a hidden row the height 0.
class RowVisibility {
public:
    RowVisibility() { shown_.fill(true); }

    /// Whether `row` is shown.
    bool Shown(int row) const { return shown_[row]; }

    /// ExpandGrid: shows rows 1..65.
    void Expand() { shown_.fill(true); }

    /// CompressGrid: shows each row 1..65 whose column 1 and column 7 counts add up to more
    /// than zero and hides the others, computed and resource rows included.
    void Compress(const SheetCells& cells);

    /// A race filter: shows that race's rows (Ter to Zik with the AstroPod row and the
    /// totals rows 55..59, PDS with the totals rows); never hides a row.
    void Show(RaceFilter filter);

    friend bool operator==(const RowVisibility&, const RowVisibility&) = default;

private:
    void ShowRows(int first, int last);

    std::array<bool, sheet::kRows> shown_{};
};

}  // namespace kestrin
