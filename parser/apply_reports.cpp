#include "apply_reports.h"

#include "parser/combat_report.h"
#include "parser/scan_readers.h"

namespace kestrin {

ReportNotes ApplySectorUnitPdsScan(BattleSheet& sheet, TextLines lines, Side side) {
    ReportNotes notes;
    const UnitCounts counts = ReadUnitScan(lines, sheet.Rules().catalogue, &notes);
    PlanetFigures planet;
    ReadPlanetScan(lines, planet, &notes);
    std::array<std::int64_t, kShipCount> units{};
    for (ShipIndex i = 0; i < kShipCount; ++i) units[i] = counts[i];
    sheet.AddShips(side, units);
    sheet.AddPlanet(side, planet);
    sheet.Recalculate();
    return notes;
}

ReportNotes ApplyMilitaryScan(BattleSheet& sheet, TextLines lines, Side side, const FleetChoice& choice) {
    ReportNotes notes;
    sheet.AddShips(side, ChosenFleets(ReadMilitaryScan(lines, sheet.Rules().catalogue, &notes), choice));
    sheet.Recalculate();
    return notes;
}

void ApplyCombatReport(BattleSheet& sheet, TextLines lines) {
    // Read before the sheet is cleared: running out of memory on a huge text keeps the battle.
    sheet.ShowCombatReport(ReadCombatReport(lines, sheet.Rules().catalogue));
}

Step ReportStep(ReportKind kind) {
    switch (kind) {
        case ReportKind::Scan: return Step::ScanReport;
        case ReportKind::Military: return Step::MilitaryScan;
        case ReportKind::Combat: return Step::CombatReport;
    }
    return Step::ScanReport;
}

std::vector<std::string> ApplyReport(BattleSheet& sheet, TextLines lines, const ReportChoice& choice) {
    // A report chosen for the wrong text must not cost the battle: one step to undo.
    const SheetChange change(sheet, ReportStep(choice.kind));
    switch (choice.kind) {
        case ReportKind::Scan: return NotesInLineOrder(ApplySectorUnitPdsScan(sheet, lines, choice.scanSide));
        case ReportKind::Military:
            return NotesInLineOrder(ApplyMilitaryScan(sheet, lines, choice.militarySide, choice.fleets));
        case ReportKind::Combat: ApplyCombatReport(sheet, lines); return {};
    }
    return {};
}

}  // namespace kestrin
