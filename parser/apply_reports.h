#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ship_catalogue.h"
#include "sheet/text_lines.h"
#include "parser/cut_counts.h"
#include "parser/military_scan.h"
#include "sheet/battle_document.h"
#include "sheet/battle_sheet.h"

namespace kestrin {

/// The most characters a report pasted into the scan parser may hold: far beyond any report,
/// and short of what keeps a text field busy for seconds.
inline constexpr std::size_t kMaxReportCharacters = 4 * 1024 * 1024;

/// What the scan parser's "OK" applies: the kind and the dialog's choices.
struct ReportChoice {
    ReportKind kind = ReportKind::Scan;
    Side scanSide = Side::Defender;
    Side militarySide = Side::Defender;
    FleetChoice fleets;
};

/// Reads the text as `choice` says into the figures the sheet takes; nothing changes yet.
/// `notes` gets the counts read cut at a separator, one note each.
ReportFigures ReadReport(TextLines lines, const ReportChoice& choice, const ShipCatalogue& catalogue,
                         ReportNotes* notes);

/// "Sector/Unit/PDS Scans": adds the scanned units to the side's Ships column (and for the
/// defender the asteroids, Eonium and score), then recalculates. Returns the counts it read
/// cut at a separator, one note each.
ReportNotes ApplySectorUnitPdsScan(BattleSheet& sheet, TextLines lines, Side side);

/// "Military Scan": adds the chosen fleets of the scan to the side's Ships, then recalculates.
/// Returns the counts it read cut at a separator.
ReportNotes ApplyMilitaryScan(BattleSheet& sheet, TextLines lines, Side side, const FleetChoice& choice);

/// "Combat Report": reads the report and shows it on the sheet (BattleSheet::ShowCombatReport).
void ApplyCombatReport(BattleSheet& sheet, TextLines lines);

/// Applies the text by its kind to a sheet without a document (kestrin-cli: no undo). Returns
/// what the readers read in a way a player would not expect (a count cut at a separator), one
/// line each in the report's line order, to be told; the reading stands.
std::vector<std::string> ApplyReport(BattleSheet& sheet, TextLines lines, const ReportChoice& choice);

/// What the scan parser's "OK" did.
struct ScanParserOutcome {
    /// Set when the text held a battle link: how opening its battle went (BattleFileStatus::Kept
    /// when the player kept the changed battle).
    std::optional<BattleFileResult> opened;
    /// A report's counts cut at a separator, in the report's line order.
    std::vector<std::string> notes;
};

/// The scan parser's "OK" on every face: a text holding a battle link opens its battle, asked
/// first when the battle changed (BattleDocument::OpenLink); any other text is read as
/// `choice` says (nothing when no kind is chosen) and applied as one step to undo, so that a
/// report chosen for the wrong text does not cost the battle.
ScanParserOutcome ScanParserOk(BattleDocument& document, std::string_view text,
                               const std::optional<ReportChoice>& choice);

}  // namespace kestrin
