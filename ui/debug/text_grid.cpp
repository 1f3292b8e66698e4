#include "ui/debug/text_grid.h"

#include <QFontMetrics>
#include <QHeaderView>

#include <algorithm>

#include "ui/debug/vertical_text_header.h"

namespace kestrin {

namespace {

constexpr int kRowHeight = 18;
constexpr int kMinimumColumnWidth = 8;
constexpr int kHeadingPadding = 6;

}  // namespace

TextGrid::TextGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget* parent)
    : QTableWidget(rows - fixedRows, columns - fixedColumns, parent),
      fixedColumns_(fixedColumns),
      fixedRows_(fixedRows) {
    // The heading row and column are Qt's headers, which stay in view while the cells scroll.
    horizontalHeader()->setVisible(fixedRows_ > 0);
    verticalHeader()->setVisible(fixedColumns_ > 0);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetUpColumnHeader();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
}

void TextGrid::SetUpColumnHeader() {
    // Column widths are given in pixels, some narrower than the style's default minimum.
    horizontalHeader()->setMinimumSectionSize(kMinimumColumnWidth);
    // A heading wider than its column ("Target Difference" over 80 pixels) goes on two lines
    // rather than being cut.
    horizontalHeader()->setDefaultAlignment(Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));
    horizontalHeader()->setMinimumHeight(2 * horizontalHeader()->fontMetrics().lineSpacing() + kHeadingPadding);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
}

QTableWidgetItem* TextGrid::HeadingItem(int col, int row) const {
    if (row < fixedRows_) return horizontalHeaderItem(col - fixedColumns_);
    return verticalHeaderItem(row - fixedRows_);
}

QString TextGrid::Cell(int col, int row) const {
    if (col < 0 || row < 0 || col >= columnCount() + fixedColumns_ || row >= RowCount()) return {};
    if (col < fixedColumns_ && row < fixedRows_) return corner_;
    const QTableWidgetItem* cell =
        col < fixedColumns_ || row < fixedRows_ ? HeadingItem(col, row) : item(row - fixedRows_, col - fixedColumns_);
    return cell ? cell->text() : QString();
}

void TextGrid::SetCell(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= columnCount() + fixedColumns_ || row >= RowCount()) return;
    if (col < fixedColumns_ && row < fixedRows_) {
        corner_ = text;
        return;
    }
    const bool heading = col < fixedColumns_ || row < fixedRows_;
    QTableWidgetItem* cell = heading ? HeadingItem(col, row) : item(row - fixedRows_, col - fixedColumns_);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        if (row < fixedRows_) setHorizontalHeaderItem(col - fixedColumns_, cell);
        else if (col < fixedColumns_) setVerticalHeaderItem(row - fixedRows_, cell);
        else setItem(row - fixedRows_, col - fixedColumns_, cell);
    }
    cell->setText(text);
    // The full value, also where the column is too narrow for it.
    cell->setToolTip(text);
}

void TextGrid::SetColumnWidths(std::initializer_list<int> widths) {
    const QFontMetrics metrics(horizontalHeader()->font());
    int col = 0;
    for (int width : widths) {
        // Wide enough for the heading's longest word: the heading wraps between words only.
        if (col >= fixedColumns_) {
            for (const QString& word : Cell(col, 0).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                width = std::max(width, metrics.horizontalAdvance(word) + kHeadingPadding);
            setColumnWidth(col - fixedColumns_, width);
        }
        ++col;
    }
}

void TextGrid::SetAllColumnWidths(int width) {
    horizontalHeader()->setDefaultSectionSize(width);
    for (int col = 0; col < columnCount(); ++col) setColumnWidth(col, width);
}

void TextGrid::SetVerticalColumnHeadings() {
    const int width = horizontalHeader()->defaultSectionSize();
    setHorizontalHeader(new VerticalTextHeader(this));
    horizontalHeader()->setDefaultSectionSize(width);
    SetUpColumnHeader();
}

}  // namespace kestrin
