#pragma once

#include <QColor>
#include <QString>

#include <cstddef>

#include "settings/appearance.h"
#include "sheet/number_format.h"
#include "sheet/sheet_cells.h"

namespace kestrin {

/// Whether (col, row) takes typed or spun counts: the Ships columns below the headings.
bool IsInputCell(int col, int row);

/// The colour that fills a cell: the caption columns, the headings and the fleet totals of
/// each side in its own colour, every other cell in ShipBgd.
AppearanceColour CellBackground(int col, int row);

/// The colour of a column's text. In ReportView the Stole and Left columns hold a combat
/// report's held and lost figures and take the Held and Lost colours.
AppearanceColour CellTextColour(int col, bool reportView);

/// Whether a column shows its figures in parentheses: the report's figures in ReportView.
bool ShowsParentheses(int col, bool reportView);

/// Whether a cell's figure is shortened to "k" or "m" when it does not fit: the resource
/// totals, the Eonium and the planet scores.
bool IsShortenable(int col, int row);

/// The most bytes of a stored text a cell shows; no column is wide enough for more.
inline constexpr std::size_t kLongestShownText = 1000;

/// The text a cell shows in full: a non-zero integer with thousands separators, anything
/// else as stored (up to kLongestShownText bytes); in parentheses where ShowsParentheses,
/// an empty cell staying empty.
QString FullCellText(const SheetCells& cells, int col, int row, bool reportView,
                     const NumberLocale& locale);

/// The shortened forms of a cell's figure, the "k" form (`millions` false: value div 1000)
/// or the "m" form (value div 1,000,000), with the parentheses of the column.
QString ShortenedCellText(const SheetCells& cells, int col, int row, bool reportView,
                          const NumberLocale& locale, bool millions);

/// A colour of the settings as a Qt colour.
QColor ToQColor(Rgb colour);

}  // namespace kestrin
