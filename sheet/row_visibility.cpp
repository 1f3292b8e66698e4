#include "row_visibility.h"

#include <cstdint>

namespace kestrin {

using namespace sheet;

void RowVisibility::Compress(const SheetCells& cells) {
    for (int row = 1; row < kRows; ++row) {
        const std::int64_t sum = std::int64_t{cells.Count(kDefShips, row)} + cells.Count(kAttShips, row);
        shown_[row] = sum > 0;
    }
}

void RowVisibility::Show(RaceFilter filter) {
    // Each race block is 12 rows; the AstroPod row 49 follows the Zik block.
    constexpr int kAstroPodRow = 49, kFirstPdsRow = 50;
    switch (filter) {
        case RaceFilter::Ter:
        case RaceFilter::Cat:
        case RaceFilter::Xan:
        case RaceFilter::Zik: {
            const int first = 1 + 12 * static_cast<int>(filter);
            ShowRows(first, first + 11);
            ShowRows(kAstroPodRow, kAstroPodRow);
            ShowRows(kTotalUnitsRow, kFleetValueRow);
            break;
        }
        case RaceFilter::Pds:
            ShowRows(kFirstPdsRow, kLastUnitRow);
            ShowRows(kTotalUnitsRow, kFleetValueRow);
            break;
        case RaceFilter::Roids:
            ShowRows(kFirstRoidRow, kScoreRow);
            break;
    }
}

void RowVisibility::ShowRows(int first, int last) {
    for (int row = first; row <= last; ++row) shown_[row] = true;
}

}  // namespace kestrin
