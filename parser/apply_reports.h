#pragma once

#include <string>
#include <vector>

#include "engine/ship_catalogue.h"
#include "sheet/text_lines.h"
#include "parser/military_scan.h"
#include "sheet/battle_sheet.h"

namespace kestrin {

/// "Sector/Unit/PDS Scans": adds the scanned units to the side's Ships column (and for the
/// defender the asteroids, Eonium and score), then recalculates. Returns the counts it read
/// cut at a separator, one note each.
ReportNotes ApplySectorUnitPdsScan(BattleSheet& sheet, TextLines lines, Side side);

/// "Military Scan": adds the chosen fleets of the scan to the side's Ships, then recalculates.
/// Returns the counts it read cut at a separator.
ReportNotes ApplyMilitaryScan(BattleSheet& sheet, TextLines lines, Side side, const FleetChoice& choice);

/// "Combat Report": reads the report and shows it on the sheet (BattleSheet::ShowCombatReport).
void ApplyCombatReport(BattleSheet& sheet, TextLines lines);

/// The report kinds of the scan parser.
enum class ReportKind { Scan, Military, Combat };

/// What the scan parser's "OK" applies: the kind and the dialog's choices.
struct ReportChoice {
    ReportKind kind = ReportKind::Scan;
    Side scanSide = Side::Defender;
    Side militarySide = Side::Defender;
    FleetChoice fleets;
};

/// The step to undo a report of this kind is: "Scan Report", "Military Scan", "Combat Report".
Step ReportStep(ReportKind kind);

/// The scan parser's "OK": applies the text by its kind, as one step to undo. Returns what
/// the readers read in a way a player would not expect (a count cut at a separator), one
/// line each in the report's line order, to be told; the reading stands.
std::vector<std::string> ApplyReport(BattleSheet& sheet, TextLines lines, const ReportChoice& choice);

}  // namespace kestrin
