#include "apply_reports.h"

#include "parser/combat_report.h"
#include "parser/scan_readers.h"
#include "sheet/battle_link.h"

namespace kestrin {

ReportFigures ReadReport(TextLines lines, const ReportChoice& choice, const ShipCatalogue& catalogue,
                         ReportNotes* notes) {
    ReportFigures figures;
    figures.kind = choice.kind;
    switch (choice.kind) {
        case ReportKind::Scan: {
            figures.side = choice.scanSide;
            const UnitCounts counts = ReadUnitScan(lines, catalogue, notes);
            for (ShipIndex i = 0; i < kShipCount; ++i) figures.units[i] = counts[i];
            ReadPlanetScan(lines, figures.planet, notes);
            break;
        }
        case ReportKind::Military:
            figures.side = choice.militarySide;
            figures.units = ChosenFleets(ReadMilitaryScan(lines, catalogue, notes), choice.fleets);
            break;
        case ReportKind::Combat: figures.combat = ReadCombatReport(lines, catalogue, notes); break;
    }
    return figures;
}

ReportNotes ApplySectorUnitPdsScan(BattleSheet& sheet, TextLines lines, Side side) {
    ReportNotes notes;
    sheet.AddReport(ReadReport(lines, {ReportKind::Scan, side, side, {}}, sheet.Rules().catalogue, &notes));
    return notes;
}

ReportNotes ApplyMilitaryScan(BattleSheet& sheet, TextLines lines, Side side, const FleetChoice& choice) {
    ReportNotes notes;
    sheet.AddReport(ReadReport(lines, {ReportKind::Military, side, side, choice}, sheet.Rules().catalogue, &notes));
    return notes;
}

void ApplyCombatReport(BattleSheet& sheet, TextLines lines) {
    ReportChoice combat;
    combat.kind = ReportKind::Combat;
    sheet.AddReport(ReadReport(lines, combat, sheet.Rules().catalogue, nullptr));
}

std::vector<std::string> ApplyReport(BattleSheet& sheet, TextLines lines, const ReportChoice& choice) {
    ReportNotes notes;
    // Read whole before the sheet changes: running out of memory on a huge text keeps the battle.
    sheet.AddReport(ReadReport(lines, choice, sheet.Rules().catalogue, &notes));
    return NotesInLineOrder(std::move(notes));
}

ScanParserOutcome ScanParserOk(BattleDocument& document, std::string_view text,
                               const std::optional<ReportChoice>& choice) {
    ScanParserOutcome outcome;
    // A shared link from a chat opens its battle instead of being read as a report.
    if (HoldsBattleLink(text)) {
        outcome.opened = document.OpenLink(text);
        return outcome;
    }
    if (!choice) return outcome;
    ReportNotes notes;
    const ReportFigures figures = ReadReport(TextLines(text), *choice, document.Sheet().Rules().catalogue, &notes);
    document.ApplyReport(figures);
    outcome.notes = NotesInLineOrder(std::move(notes));
    return outcome;
}

}  // namespace kestrin
