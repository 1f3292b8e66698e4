#include "ui/grid/cell_style.h"

#include <QColor>

#include <string_view>

#include "sheet/sheet_layout.h"

namespace kestrin {
namespace {

bool IsDefenderFigureColumn(int col) { return col >= sheet::kDefShips && col <= sheet::kDefLeft; }
bool IsAttackerFigureColumn(int col) { return col >= sheet::kAttShips && col <= sheet::kAttLeft; }

/// The heading row and the fleet totals are shaded in the side's colour.
bool IsSideShadedRow(int row) {
    return row == sheet::kHeadingRow || (row >= sheet::kTotalUnitsRow && row <= sheet::kFleetValueRow);
}

// The part of a stored text a cell can show: far more than the widest column holds, so that
// a cell of a million characters costs no more to measure and draw than a long name. Cut
// before a UTF-8 continuation byte, never inside a character.
std::string_view ShowablePart(std::string_view text) {
    if (text.size() <= kLongestShownText) return text;
    std::size_t end = kLongestShownText;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

QString Parenthesised(const QString& text, int col, bool reportView) {
    if (!ShowsParentheses(col, reportView) || text.isEmpty()) return text;
    return QLatin1Char('(') + text + QLatin1Char(')');
}

}  // namespace

bool IsInputCell(int col, int row) { return sheet::IsInputCell(col, row); }

AppearanceColour CellBackground(int col, int row) {
    if (col == sheet::kDefCaption || (IsDefenderFigureColumn(col) && IsSideShadedRow(row))) {
        return AppearanceColour::DefBgd;
    }
    if (col == sheet::kAttCaption || (IsAttackerFigureColumn(col) && IsSideShadedRow(row))) {
        return AppearanceColour::AttBgd;
    }
    return AppearanceColour::ShipBgd;
}

AppearanceColour CellTextColour(int col, bool reportView) {
    using C = AppearanceColour;
    if (reportView) {
        switch (col) {
            case sheet::kDefStole: return C::DefHeldFont;
            case sheet::kDefLeft: return C::DefLostFont;
            case sheet::kAttStole: return C::AttHeldFont;
            case sheet::kAttLeft: return C::AttLostFont;
            default: break;
        }
    }
    // The text colours follow the column order: DefFont..DefLeftFont, AttFont..AttLeftFont.
    return static_cast<C>(static_cast<int>(C::DefFont) + col);
}

bool ShowsParentheses(int col, bool reportView) {
    return reportView && (col == sheet::kDefStole || col == sheet::kDefLeft ||
                          col == sheet::kAttStole || col == sheet::kAttLeft);
}

bool IsShortenable(int col, int row) {
    const bool figureColumn = IsDefenderFigureColumn(col) || IsAttackerFigureColumn(col);
    const bool resourceRow = (row >= sheet::kMetalCostRow && row <= sheet::kFleetValueRow) ||
                             row == sheet::kEoniumRow || row == sheet::kScoreRow;
    return figureColumn && resourceRow;
}

QString FullCellText(const SheetCells& cells, int col, int row, bool reportView,
                     const NumberLocale& locale) {
    const std::int64_t value = cells.Int64(col, row);
    const std::string_view stored = ShowablePart(cells.At(col, row));
    const QString text = value != 0 ? QString::fromStdString(FormatNumber(value, locale))
                                    : QString::fromUtf8(stored.data(), static_cast<qsizetype>(stored.size()));
    return Parenthesised(text, col, reportView);
}

QString ShortenedCellText(const SheetCells& cells, int col, int row, bool reportView,
                          const NumberLocale& locale, bool millions) {
    const std::int64_t divisor = millions ? 1'000'000 : 1'000;
    const std::int64_t shortened = cells.Int64(col, row) / divisor;
    const QString text = QString::fromStdString(FormatNumber(shortened, locale)) +
                         QLatin1Char(millions ? 'm' : 'k');
    return Parenthesised(text, col, reportView);
}

QColor ToQColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

}  // namespace kestrin
