// What the scan parser's reports write into the sheet: scanned ships and planet figures added
// to a side, and a combat report shown beside the figures the sheet computes from it.
#include "battle_sheet.h"

#include "engine/saturating.h"

namespace kestrin {

namespace {

using namespace sheet;

// A count of the report's own: empty for none.
void WriteCounts(SheetCells& cells, int col, const std::array<std::int32_t, kShipCount>& counts) {
    for (ShipIndex t = 0; t < kShipCount; ++t) cells.WriteCount(col, UnitRow(t), counts[t]);
}

void EmptyRoidRows(SheetCells& cells, std::initializer_list<int> columns) {
    for (int k = 0; k < kRoidKinds; ++k)
        for (int col : columns) cells.Clear(col, kFirstRoidRow + k);
}

// The report's held and lost columns get their own fleet rows.
void WriteReportFleetRows(SheetCells& cells, int col, const std::array<std::int32_t, kShipCount>& counts,
                          const FleetCosts& costs) {
    const std::array<std::string, 5> texts = FleetRowTexts(FleetValue(counts, costs));
    for (int k = 0; k < 5; ++k) cells.Set(col, kTotalUnitsRow + k, texts[k]);
}

}  // namespace

void BattleSheet::AddShips(Side side, const std::array<std::int64_t, kShipCount>& units) {
    const int col = ShipsColumn(side);
    // A sum beyond the 32-bit range would read back as no ships at all: it stops at the end.
    for (ShipIndex t = 0; t < kShipCount; ++t)
        cells_.WriteCount(col, UnitRow(t), SaturatingInt32(SaturatingAdd(cells_.Count(col, UnitRow(t)), units[t])));
}

void BattleSheet::AddPlanet(Side side, const PlanetFigures& planet) {
    const int col = ShipsColumn(side);
    // Planet figures are written as plain numbers, "0" included.
    const auto add = [&](int row, std::int64_t added, bool wide) {
        std::int64_t value = SaturatingAdd(wide ? cells_.Int64(col, row) : cells_.Count(col, row), added);
        if (!wide) value = SaturatingInt32(value);
        cells_.Set(col, row, std::to_string(value));
    };
    add(kScoreRow, planet.Score, true);
    if (side == Side::Attacker) return;
    add(kEoniumRow, planet.Eonium, true);
    for (int k = 0; k < kRoidKinds; ++k) add(kFirstRoidRow + k, planet.Roids[k], false);
}

void BattleSheet::ShowCombatReport(const CombatReport& report) {
    ClearGrid();
    WriteCounts(cells_, kDefShips, report.DefenderTotal);
    WriteCounts(cells_, kAttShips, report.AttackerTotal);
    for (int k = 0; k < kRoidKinds; ++k) cells_.WriteCount(kDefShips, kFirstRoidRow + k, report.RoidsBefore[k]);
    EmptyRoidRows(cells_, {kDefHeld, kDefStole});
    UpdateCalcLog();
    // The report's own figures take the Stole and Left columns, under headings of their own.
    cells_.Set(kDefStole, kHeadingRow, "Held");
    cells_.Set(kAttStole, kHeadingRow, "Held");
    cells_.Set(kDefLeft, kHeadingRow, "Lost");
    cells_.Set(kAttLeft, kHeadingRow, "Lost");
    WriteCounts(cells_, kDefStole, report.DefenderHeld);
    WriteCounts(cells_, kDefLeft, report.DefenderLost);
    WriteCounts(cells_, kAttStole, report.AttackerHeld);
    WriteCounts(cells_, kAttLeft, report.AttackerLost);
    for (int k = 0; k < kRoidKinds; ++k) cells_.WriteCount(kDefLeft, kFirstRoidRow + k, report.RoidsSecond[k]);
    EmptyRoidRows(cells_, {kDefHeld, kDefStole, kAttShips, kAttStole, kAttLeft});
    WriteReportFleetRows(cells_, kDefStole, report.DefenderHeld, costs_);
    WriteReportFleetRows(cells_, kDefLeft, report.DefenderLost, costs_);
    WriteReportFleetRows(cells_, kAttStole, report.AttackerHeld, costs_);
    WriteReportFleetRows(cells_, kAttLeft, report.AttackerLost, costs_);
    reportView_ = true;
}

void BattleSheet::AddReport(const ReportFigures& figures) {
    switch (figures.kind) {
        case ReportKind::Scan:
            AddShips(figures.side, figures.units);
            AddPlanet(figures.side, figures.planet);
            break;
        case ReportKind::Military: AddShips(figures.side, figures.units); break;
        case ReportKind::Combat: return ShowCombatReport(figures.combat);
    }
    Recalculate();
}

Step ReportStep(ReportKind kind) {
    switch (kind) {
        case ReportKind::Scan: return Step::ScanReport;
        case ReportKind::Military: return Step::MilitaryScan;
        case ReportKind::Combat: return Step::CombatReport;
    }
    return Step::ScanReport;
}

}  // namespace kestrin
