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
    switch (filter) {
        case RaceFilter::Ter:
        case RaceFilter::Cat:
        case RaceFilter::Xan:
        case RaceFilter::Zik: {
            // A race's rows come with the AstroPod's, which every race can build.
            const int race = static_cast<int>(filter);
            ShowRows(UnitRow(FirstOfRace(race)), UnitRow(LastOfRace(race)));
            ShowRows(UnitRow(kAstroPod), UnitRow(kAstroPod));
            ShowRows(kTotalUnitsRow, kFleetValueRow);
            break;
        }
        case RaceFilter::Pds:
            ShowRows(UnitRow(kFirstPds), kLastUnitRow);
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
