#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli_output.h"
#include "sheet/number_format.h"
#include "sheet/panel_entries.h"
#include "sheet/results.h"
#include "sheet/sheet_cells.h"

namespace kestrin {

/// Rows of the battle sheet as the tick object prints them.
inline constexpr int kTickRows = SheetCells::kRowCount;
/// Columns of the battle sheet.
inline constexpr int kTickColumns = SheetCells::kColumnCount;

/// Figures are shown as the desktop program shows them, with fixed separators.
inline const NumberLocale kCliLocale = kFixedLocale;

/// The tick object's "panel": the texts in kPanelKeys order; a missing element is empty.
Json PanelJson(const std::map<std::string, std::string>& panel);

/// Everything one tick object shows, as plain data taken from the sheet after a recalculation.
struct TickReport {
    int tick = 1;             ///< CurrentTick
    bool reportView = false;  ///< ReportView after the command
    /// cells[row][column], exact cell texts; rows or columns beyond 66 x 12 are not printed,
    /// missing ones print as empty texts.
    std::vector<std::vector<std::string>> cells;
    /// Results panel texts as displayed, by element name (kPanelKeys); a missing element
    /// prints as an empty text, names outside kPanelKeys are not printed.
    std::map<std::string, std::string> panel;
    std::int64_t bailouts = 0;  ///< bailout signals since the previous tick object
    std::optional<std::vector<std::string>> log;  ///< the log's lines, only with --log
};

/// The tick object: tick, reportView, cells, panel, bailouts and, when present, log.
Json TickJson(const TickReport& report);

/// The tick object as one line of JSON Lines output, line break included: the text of
/// DumpJson(TickJson(report)), written directly.
std::string TickJsonLine(const TickReport& report);

}  // namespace kestrin
