#include "apply_reports.h"

#include "engine/saturating.h"
#include "parser/combat_report.h"
#include "parser/scan_readers.h"
#include "sheet/fleet_value.h"

namespace kestrin {

namespace {

constexpr int kDefenderShips = 1, kAttackerShips = 7;
constexpr int kFirstRoidRow = 60, kEoniumRow = 64, kScoreRow = 65;

int ShipsColumn(Side side) { return side == Side::Defender ? kDefenderShips : kAttackerShips; }

// Adds to a count cell. A sum beyond the 32-bit range would read back as no ships at all, so
// it stops at the range's end.
void AddToCount(BattleSheet& sheet, int col, int row, std::int64_t added) {
    const std::int32_t value = SaturatingInt32(SaturatingAdd(sheet.Cells().Count(col, row), added));
    sheet.SetCell(col, row, value == 0 ? std::string() : std::to_string(value));
}

void AddUnits(BattleSheet& sheet, int col, const std::array<std::int64_t, kShipCount>& units) {
    for (ShipIndex i = 0; i < kShipCount; ++i) AddToCount(sheet, col, i + 1, units[i]);
}

// Planet figures are written as plain numbers, "0" included.
void AddPlanetFigure(BattleSheet& sheet, int col, int row, std::int64_t added, bool wide) {
    std::int64_t value = SaturatingAdd(wide ? sheet.Cells().Int64(col, row) : sheet.Cells().Count(col, row), added);
    if (!wide) value = SaturatingInt32(value);
    sheet.SetCell(col, row, std::to_string(value));
}

void WriteCounts(BattleSheet& sheet, int col, const std::array<std::int32_t, kShipCount>& counts) {
    for (ShipIndex i = 0; i < kShipCount; ++i)
        sheet.SetCell(col, i + 1, counts[i] == 0 ? std::string() : std::to_string(counts[i]));
}

void EmptyRoidColumns(BattleSheet& sheet, std::initializer_list<int> columns) {
    for (int row = kFirstRoidRow; row < kFirstRoidRow + 4; ++row)
        for (int col : columns) sheet.SetCell(col, row, "");
}

// The report's held and lost columns get their own fleet rows.
void WriteReportFleetRows(BattleSheet& sheet, int col, const std::array<std::int32_t, kShipCount>& counts) {
    const std::array<std::string, 5> texts = FleetRowTexts(FleetValue(counts, sheet.Costs()));
    for (int k = 0; k < 5; ++k) sheet.SetCell(col, 55 + k, texts[k]);
}

}  // namespace

void ApplySectorUnitPdsScan(BattleSheet& sheet, TextLines lines, Side side) {
    const UnitCounts counts = ReadUnitScan(lines, sheet.Rules().catalogue);
    PlanetFigures planet;
    ReadPlanetScan(lines, planet);
    const int col = ShipsColumn(side);
    std::array<std::int64_t, kShipCount> units{};
    for (ShipIndex i = 0; i < kShipCount; ++i) units[i] = counts[i];
    AddUnits(sheet, col, units);
    AddPlanetFigure(sheet, col, kScoreRow, planet.Score, true);
    if (side == Side::Defender) {
        AddPlanetFigure(sheet, col, kEoniumRow, planet.Eonium, true);
        for (int k = 3; k >= 0; --k) AddPlanetFigure(sheet, col, kFirstRoidRow + k, planet.Roids[k], false);
    }
    sheet.Recalculate();
}

void ApplyMilitaryScan(BattleSheet& sheet, TextLines lines, Side side,
                              const FleetChoice& choice) {
    AddUnits(sheet, ShipsColumn(side), ChosenFleets(ReadMilitaryScan(lines, sheet.Rules().catalogue), choice));
    sheet.Recalculate();
}

void ApplyCombatReport(BattleSheet& sheet, TextLines lines) {
    // Read before the sheet is cleared: running out of memory on a huge text keeps the battle.
    const CombatReport report = ReadCombatReport(lines, sheet.Rules().catalogue);
    sheet.ClearGrid();
    WriteCounts(sheet, kDefenderShips, report.DefenderTotal);
    WriteCounts(sheet, kAttackerShips, report.AttackerTotal);
    for (int k = 0; k < 4; ++k) {
        const std::int32_t before = report.RoidsBefore[k];
        sheet.SetCell(kDefenderShips, kFirstRoidRow + k, before == 0 ? std::string() : std::to_string(before));
    }
    EmptyRoidColumns(sheet, {2, 4});
    sheet.UpdateCalcLog();
    sheet.SetCell(4, 0, "Held");
    sheet.SetCell(10, 0, "Held");
    sheet.SetCell(5, 0, "Lost");
    sheet.SetCell(11, 0, "Lost");
    WriteCounts(sheet, 4, report.DefenderHeld);
    WriteCounts(sheet, 5, report.DefenderLost);
    WriteCounts(sheet, 10, report.AttackerHeld);
    WriteCounts(sheet, 11, report.AttackerLost);
    for (int k = 0; k < 4; ++k) {
        const std::int32_t second = report.RoidsSecond[k];
        sheet.SetCell(5, kFirstRoidRow + k, second == 0 ? std::string() : std::to_string(second));
    }
    EmptyRoidColumns(sheet, {2, 4, 7, 10, 11});
    WriteReportFleetRows(sheet, 4, report.DefenderHeld);
    WriteReportFleetRows(sheet, 5, report.DefenderLost);
    WriteReportFleetRows(sheet, 10, report.AttackerHeld);
    WriteReportFleetRows(sheet, 11, report.AttackerLost);
}

void ApplyReport(BattleSheet& sheet, TextLines lines, const ReportChoice& choice) {
    // A report chosen for the wrong text must not cost the battle: one step to undo.
    constexpr const char* kStepNames[] = {"Scan Report", "Military Scan", "Combat Report"};
    const SheetChange change(sheet, kStepNames[static_cast<int>(choice.kind)]);
    switch (choice.kind) {
        case ReportKind::Scan: return ApplySectorUnitPdsScan(sheet, lines, choice.scanSide);
        case ReportKind::Military: return ApplyMilitaryScan(sheet, lines, choice.militarySide, choice.fleets);
        case ReportKind::Combat:
            ApplyCombatReport(sheet, lines);
            sheet.SetReportView(true);
            return;
    }
}

}  // namespace kestrin
