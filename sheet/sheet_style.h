#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sheet/number_format.h"
#include "sheet/sheet_cells.h"

namespace kestrin {

/// The appearance colours a sheet cell is drawn in, named and ordered as the appearance
/// colours of the settings (ShipBgd first), so that each face turns one into its colour by
/// position: the desktop into an `AppearanceColour`, the page into the colour's key.
enum class SheetColour : std::uint8_t {
    ShipBgd, AttBgd, DefBgd, Gridlines, Racelines,
    DefFont, DefShipsFont, DefHeldFont, DefLostFont, DefStealFont, DefLeftFont,
    AttFont, AttShipsFont, AttHeldFont, AttLostFont, AttStealFont, AttLeftFont
};

/// Number of sheet colours, the same as the appearance colours'.
inline constexpr int kSheetColourCount = 17;

namespace sheet {

/// The colour that fills a cell: the caption columns, the headings and the fleet totals of
/// each side in its own colour, every other cell in ShipBgd.
SheetColour CellBackground(int col, int row);

/// The colour of a column's text. In ReportView the Stole and Left columns hold a combat
/// report's held and lost figures and take the Held and Lost colours.
SheetColour CellTextColour(int col, bool reportView);

/// Whether a column shows its figures in parentheses: the report's figures in ReportView.
bool ShowsParentheses(int col, bool reportView);

/// Whether a cell's figure is shortened to "k" or "m" when it does not fit: the resource
/// totals, the Eonium and the planet scores.
bool IsShortenable(int col, int row);

/// The most bytes of a stored text a cell shows; no column is wide enough for more.
inline constexpr std::size_t kLongestShownText = 1000;

/// The text a cell shows in full: a non-zero integer with thousands separators, anything
/// else as stored (up to kLongestShownText bytes, never cut inside a UTF-8 character); in
/// parentheses where ShowsParentheses, an empty cell staying empty.
std::string ShownText(const SheetCells& cells, int col, int row, bool reportView, const NumberLocale& locale);

/// The shortened forms of a cell's figure, the "k" form (`millions` false: value div 1000)
/// or the "m" form (value div 1,000,000), with the parentheses of the column.
std::string ShortenedText(const SheetCells& cells, int col, int row, bool reportView, const NumberLocale& locale,
                          bool millions);

}  // namespace sheet
}  // namespace kestrin
