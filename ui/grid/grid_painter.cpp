#include "ui/grid/grid_painter.h"

#include <QPainter>
#include <QPen>

#include "ui/grid/cell_style.h"

namespace kestrin {
namespace {

/// Free pixels a figure needs beside its text to count as fitting its column.
constexpr int kTextMargin = 4;

/// The side borders, between the caption column and its figures and at each side's end.
bool IsSideBorderColumn(int col) {
    return col == sheet::kDefCaption || col == sheet::kDefLeft || col == sheet::kAttCaption ||
           col == sheet::kAttLeft;
}

/// In ReportView the report's figures stand apart: Ships from Held/Lost, Lost from the
/// report's columns.
bool IsReportBorderColumn(int col) {
    return col == sheet::kDefShips || col == sheet::kDefLost || col == sheet::kAttShips ||
           col == sheet::kAttLost;
}

}  // namespace

QString CellTextToShow(const BattleSheet& sheet, TextWidthCache& widths, int col, int row,
                       int columnWidth) {
    const bool reportView = sheet.ReportView();
    QString text = FullCellText(sheet.Cells(), col, row, reportView, sheet.Locale());
    const auto fits = [&](const QString& t) { return widths.Width(t, false) + kTextMargin <= columnWidth; };
    if (!sheet::IsShortenable(col, row) || fits(text)) return text;
    text = ShortenedCellText(sheet.Cells(), col, row, reportView, sheet.Locale(), false);
    if (fits(text)) return text;
    return ShortenedCellText(sheet.Cells(), col, row, reportView, sheet.Locale(), true);
}

GridPainter::GridPainter(QPainter& painter, const BattleSheet& sheet, const Appearance& appearance,
                         const GridLayout& layout, TextWidthCache& widths)
    : painter_(painter), sheet_(sheet), appearance_(appearance), layout_(layout), widths_(widths) {}

QColor GridPainter::Colour(AppearanceColour colour) const { return ToQColor(appearance_[colour]); }

void GridPainter::DrawCell(int col, int row, const QRect& rect, bool focused) {
    if (rect.isEmpty()) return;
    painter_.fillRect(rect, Colour(CellBackground(col, row)));
    DrawText(col, row, rect);
    DrawLines(col, row, rect);
    if (focused) {
        QPen pen(Colour(CellTextColour(col, sheet_.ReportView())), 0, Qt::DotLine);
        painter_.setPen(pen);
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

void GridPainter::DrawText(int col, int row, const QRect& rect) {
    const QString text = CellTextToShow(sheet_, widths_, col, row, rect.width());
    if (text.isEmpty()) return;
    const bool bold = row == sheet::kHeadingRow;
    const int textWidth = widths_.Width(text, bold);
    const int textHeight = widths_.Height(bold);
    // Centred, one pixel left of the middle; integer division truncates like the layout's.
    const int x = rect.left() + (rect.width() - textWidth) / 2 - 1;
    const int y = rect.top() + (rect.height() - textHeight) / 2;
    const bool overflows = x < rect.left() || x + textWidth > rect.left() + rect.width() ||
                           textHeight > rect.height();
    if (overflows) {
        painter_.save();
        painter_.setClipRect(rect, Qt::IntersectClip);
    }
    if (painter_.font() != widths_.Font(bold)) painter_.setFont(widths_.Font(bold));
    painter_.setPen(Colour(CellTextColour(col, sheet_.ReportView())));
    painter_.drawText(x, y + widths_.Ascent(bold), text);
    if (overflows) painter_.restore();
}

void GridPainter::DrawLines(int col, int row, const QRect& rect) {
    // One-pixel lines as filled rectangles: exact at any scale, untouched by antialiasing.
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    const QColor grid = Colour(AppearanceColour::Gridlines);
    painter_.fillRect(right - 1, rect.top(), 1, rect.height(), grid);
    painter_.fillRect(rect.left(), bottom - 1, rect.width(), 1, grid);

    const QColor race = Colour(AppearanceColour::Racelines);
    if (IsSideBorderColumn(col) || (sheet_.ReportView() && IsReportBorderColumn(col))) {
        // From one pixel above the cell, so the border runs unbroken across the grid line
        // of the row above.
        painter_.fillRect(right - 1, rect.top() - 1, 1, rect.height() + 1, race);
    }
    if (layout_.RaceLineBelow(row)) painter_.fillRect(rect.left(), bottom - 1, rect.width(), 1, race);
}

}  // namespace kestrin
