#include "sweep_input.h"

#include <charconv>
#include <limits>
#include <tuple>

#include "planner/point_battle.h"
#include "sheet/row_captions.h"

namespace kestrin {

namespace {

using namespace sheet;

bool IsSweepable(const ShipCatalogue& catalogue, Side side, int row) {
    if (row == kScoreRow) return true;
    if (row >= kFirstUnitRow && row <= kLastUnitRow) return !RowCaption(catalogue, side, row).empty();
    return side == Side::Defender && row >= kFirstRoidRow && row <= kEoniumRow;
}

std::string SideName(Side side) { return side == Side::Defender ? "defender" : "attacker"; }

std::optional<int> RowNumber(std::string_view text) {
    int row = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), row);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return row;
}

std::optional<int> CaptionRow(const ShipCatalogue& catalogue, Side side, std::string_view caption) {
    if (caption == "Eonium") return kEoniumRow;
    for (int row = kFirstUnitRow; row < kRows; ++row)
        if (RowCaption(catalogue, side, row) == caption) return row;
    return std::nullopt;
}

}  // namespace

std::vector<SweepRow> SweepableRows(const ShipCatalogue& catalogue, Side side) {
    std::vector<SweepRow> rows;
    for (int row = kFirstUnitRow; row < kRows; ++row)
        if (IsSweepable(catalogue, side, row)) rows.push_back({row, std::string(RowCaption(catalogue, side, row))});
    return rows;
}

SweepInputFound FindSweepInput(const ShipCatalogue& catalogue, Side side, std::string_view rowName) {
    std::optional<int> row = RowNumber(rowName);
    if (!row) row = CaptionRow(catalogue, side, rowName);
    const std::string quoted = "'" + std::string(rowName) + "'";
    if (!row || *row < kFirstUnitRow || *row >= kRows)
        return {std::nullopt, "The " + SideName(side) + " has no row " + quoted};
    if (!IsSweepable(catalogue, side, *row))
        return {std::nullopt, "Row " + quoted + " is not an input of the " + SideName(side)};
    return {SweepInput{side, *row}, {}};
}

bool SameBattleApartFrom(const BattleState& a, const BattleState& b, const SweepInput& except) {
    // Each input with the swept one, if any, set alike on both sides of the comparison.
    const auto inputs = [&except](const BattleState& state) {
        const BattleState start = PointStart(state, except, 0);
        return std::tuple(start.Ships, start.Roids, start.DefenderEonium, start.DefenderScore, start.AttackerScore);
    };
    return inputs(a) == inputs(b);
}

std::int64_t SweepValueMin(int row) {
    return row == kScoreRow ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int32_t>::min();
}

std::int64_t SweepValueMax(int row) {
    return row == kScoreRow ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int32_t>::max();
}

}  // namespace kestrin
