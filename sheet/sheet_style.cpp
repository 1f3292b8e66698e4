#include "sheet_style.h"

#include <string_view>

#include "sheet/sheet_layout.h"

namespace kestrin::sheet {
namespace {

bool IsDefenderFigureColumn(int col) { return col >= kDefShips && col <= kDefLeft; }
bool IsAttackerFigureColumn(int col) { return col >= kAttShips && col <= kAttLeft; }

// The heading row and the fleet totals are shaded in the side's colour.
bool IsSideShadedRow(int row) { return row == kHeadingRow || (row >= kTotalUnitsRow && row <= kFleetValueRow); }

// The part of a stored text a cell can show: far more than the widest column holds, so that
// a cell of a million characters costs no more to measure and draw than a long name. Cut
// before a UTF-8 continuation byte, never inside a character.
std::string_view ShowablePart(std::string_view text) {
    if (text.size() <= kLongestShownText) return text;
    std::size_t end = kLongestShownText;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

std::string Parenthesised(std::string text, int col, bool reportView) {
    if (!ShowsParentheses(col, reportView) || text.empty()) return text;
    return "(" + text + ")";
}

}  // namespace

SheetColour CellBackground(int col, int row) {
    if (col == kDefCaption || (IsDefenderFigureColumn(col) && IsSideShadedRow(row))) return SheetColour::DefBgd;
    if (col == kAttCaption || (IsAttackerFigureColumn(col) && IsSideShadedRow(row))) return SheetColour::AttBgd;
    return SheetColour::ShipBgd;
}

SheetColour CellTextColour(int col, bool reportView) {
    using C = SheetColour;
    if (reportView) {
        switch (col) {
            case kDefStole: return C::DefHeldFont;
            case kDefLeft: return C::DefLostFont;
            case kAttStole: return C::AttHeldFont;
            case kAttLeft: return C::AttLostFont;
            default: break;
        }
    }
    // The text colours follow the column order: DefFont..DefLeftFont, AttFont..AttLeftFont.
    return static_cast<C>(static_cast<int>(C::DefFont) + col);
}

bool ShowsParentheses(int col, bool reportView) {
    return reportView && (col == kDefStole || col == kDefLeft || col == kAttStole || col == kAttLeft);
}

bool IsShortenable(int col, int row) {
    const bool figureColumn = IsDefenderFigureColumn(col) || IsAttackerFigureColumn(col);
    const bool resourceRow = (row >= kMetalCostRow && row <= kFleetValueRow) || row == kEoniumRow || row == kScoreRow;
    return figureColumn && resourceRow;
}

std::string ShownText(const SheetCells& cells, int col, int row, bool reportView, const NumberLocale& locale) {
    const std::int64_t value = cells.Int64(col, row);
    std::string text = value != 0 ? FormatNumber(value, locale) : std::string(ShowablePart(cells.At(col, row)));
    return Parenthesised(std::move(text), col, reportView);
}

std::string ShortenedText(const SheetCells& cells, int col, int row, bool reportView, const NumberLocale& locale,
                          bool millions) {
    const std::int64_t divisor = millions ? 1'000'000 : 1'000;
    const std::int64_t shortened = cells.Int64(col, row) / divisor;
    return Parenthesised(FormatNumber(shortened, locale) + (millions ? 'm' : 'k'), col, reportView);
}

}  // namespace kestrin::sheet
