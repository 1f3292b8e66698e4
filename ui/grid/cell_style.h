#pragma once

#include <QColor>
#include <QString>

#include "settings/appearance.h"
#include "sheet/number_format.h"
#include "sheet/sheet_cells.h"
#include "sheet/sheet_style.h"

namespace kestrin {

/// Whether (col, row) takes typed or spun counts: the Ships columns below the headings.
bool IsInputCell(int col, int row);

/// The appearance colour of a sheet colour: the same colour by position.
constexpr AppearanceColour AppearanceOf(SheetColour colour) { return static_cast<AppearanceColour>(colour); }
static_assert(kSheetColourCount == kAppearanceColourCount);

/// The colour that fills a cell (sheet::CellBackground).
AppearanceColour CellBackground(int col, int row);

/// The colour of a column's text (sheet::CellTextColour).
AppearanceColour CellTextColour(int col, bool reportView);

/// The most bytes of a stored text a cell shows (sheet::kLongestShownText).
using sheet::kLongestShownText;

/// The text a cell shows in full (sheet::ShownText).
QString FullCellText(const SheetCells& cells, int col, int row, bool reportView,
                     const NumberLocale& locale);

/// The shortened forms of a cell's figure (sheet::ShortenedText).
QString ShortenedCellText(const SheetCells& cells, int col, int row, bool reportView,
                          const NumberLocale& locale, bool millions);

/// A colour of the settings as a Qt colour.
QColor ToQColor(Rgb colour);

}  // namespace kestrin
