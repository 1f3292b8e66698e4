#include "text_grid.h"

#include <QHeaderView>

namespace kestrin {

namespace {

constexpr int kRowHeight = 18;
constexpr int kMinimumColumnWidth = 8;

}  // namespace

TextGrid::TextGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget* parent)
    : QTableWidget(rows, columns, parent), fixedColumns_(fixedColumns), fixedRows_(fixedRows) {
    // The headings are cells of the grid, so Qt's own headers would only repeat numbers.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    // Column widths are given in pixels, some narrower than the style's default minimum.
    horizontalHeader()->setMinimumSectionSize(kMinimumColumnWidth);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
}

QString TextGrid::Cell(int col, int row) const {
    const QTableWidgetItem* cell = item(row, col);
    return cell ? cell->text() : QString();
}

void TextGrid::SetCell(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= columnCount() || row >= rowCount()) return;
    QTableWidgetItem* cell = item(row, col);
    if (cell) {
        cell->setText(text);
        return;
    }
    cell = new QTableWidgetItem(text);
    if (col < fixedColumns_ || row < fixedRows_) cell->setBackground(palette().button());
    setItem(row, col, cell);
}

void TextGrid::SetColumnWidths(std::initializer_list<int> widths) {
    int col = 0;
    for (int width : widths) setColumnWidth(col++, width);
}

void TextGrid::SetAllColumnWidths(int width) {
    horizontalHeader()->setDefaultSectionSize(width);
    for (int col = 0; col < columnCount(); ++col) setColumnWidth(col, width);
}

}  // namespace kestrin
