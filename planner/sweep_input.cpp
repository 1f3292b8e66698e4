#include "sweep_input.h"

#include <charconv>
#include <limits>

namespace kestrin {

namespace {

using namespace sheet;

bool IsSweepable(const SheetCells& cells, Side side, int row) {
    if (row == kScoreRow) return true;
    if (row >= kFirstUnitRow && row <= kLastUnitRow) return !cells.At(SideOffset(side), row).empty();
    return side == Side::Defender && row >= kFirstRoidRow && row <= kEoniumRow;
}

std::string SideName(Side side) { return side == Side::Defender ? "defender" : "attacker"; }

std::optional<int> RowNumber(std::string_view text) {
    int row = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), row);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return row;
}

std::optional<int> CaptionRow(const SheetCells& cells, Side side, std::string_view caption) {
    if (caption == "Eonium") return kEoniumRow;
    for (int row = kFirstUnitRow; row < kRows; ++row)
        if (cells.At(SideOffset(side), row) == caption) return row;
    return std::nullopt;
}

}  // namespace

std::vector<SweepRow> SweepableRows(const SheetCells& cells, Side side) {
    std::vector<SweepRow> rows;
    for (int row = kFirstUnitRow; row < kRows; ++row)
        if (IsSweepable(cells, side, row)) rows.push_back({row, cells.At(SideOffset(side), row)});
    return rows;
}

SweepInputFound FindSweepInput(const SheetCells& cells, Side side, std::string_view rowName) {
    std::optional<int> row = RowNumber(rowName);
    if (!row) row = CaptionRow(cells, side, rowName);
    const std::string quoted = "'" + std::string(rowName) + "'";
    if (!row || *row < kFirstUnitRow || *row >= kRows)
        return {std::nullopt, "The " + SideName(side) + " has no row " + quoted};
    if (!IsSweepable(cells, side, *row))
        return {std::nullopt, "Row " + quoted + " is not an input of the " + SideName(side)};
    return {SweepInput{side, *row}, {}};
}

bool SameBattleApartFrom(const SheetCells& a, const SheetCells& b, const SweepInput& except) {
    for (Side side : {Side::Defender, Side::Attacker}) {
        const int col = ShipsColumn(side);
        for (int row = kFirstUnitRow; row < kRows; ++row) {
            const bool computed = row >= kTotalUnitsRow && row <= kFleetValueRow;
            if (computed || (side == except.side && row == except.row)) continue;
            if (a.At(col, row) != b.At(col, row)) return false;
        }
    }
    return true;
}

std::int64_t SweepValueMin(int row) {
    return row == kScoreRow ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int32_t>::min();
}

std::int64_t SweepValueMax(int row) {
    return row == kScoreRow ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int32_t>::max();
}

}  // namespace kestrin
