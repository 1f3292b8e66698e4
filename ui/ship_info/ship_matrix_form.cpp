#include "ui/ship_info/ship_matrix_form.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

#include "sheet/unit_tables.h"
#include "ui/ship_info/fixed_cell_table.h"

namespace kestrin {
namespace {

constexpr int kWidth = 696, kHeight = 480;
constexpr int kStripHeight = 41;
constexpr int kHeadingWidth = 100, kColumnWidth = 40;
constexpr int kHeadingHeight = 24, kRowHeight = 18;
/// Text never starts closer than this to a cell's left edge, so long names stay readable.
constexpr int kMinimumIndent = 3;

const QColor kCellColour(20, 20, 50);
const QColor kNameColour(50, 255, 50);      // column 0: the targets
const QColor kHeadingColour(255, 75, 75);   // row 0: the firing types
const QColor kClass1Colour(0, 250, 250);
const QColor kClass2Colour(100, 200, 200);
const QColor kClass3Colour(100, 100, 100);
const QColor kGridLineColour(0, 0, 0);
const QColor kRaceLineColour(100, 100, 100);

/// Whether a race line closes column or row `index`: the headings, then the last of Ter,
/// Cat, Xan and Zik, then the last PDS (AstroPod and the PDS form one block).
bool ClosesRaceBlock(int index) {
    constexpr std::array<int, 6> kLastOfBlock = {0,
                                                 LastOfRace(0) + 1,
                                                 LastOfRace(1) + 1,
                                                 LastOfRace(2) + 1,
                                                 LastOfRace(3) + 1,
                                                 kShipCount};
    return std::find(kLastOfBlock.begin(), kLastOfBlock.end(), index) != kLastOfBlock.end();
}

}  // namespace

TShipMatrixForm::TShipMatrixForm(const BattleRules& rules, char decimalSeparator, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Unit Tables"));
    resize(kWidth, kHeight);

    auto* strip = new QWidget(this);
    strip->setFixedHeight(kStripHeight);
    // The strip reads out the cell under the mouse with the whole names the 40-pixel
    // headings cut short.
    readout_ = new QLabel(QStringLiteral("Point at a cell to read it with the units' whole names."), strip);
    readout_->setObjectName(QStringLiteral("UnitReadout"));
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(8, 0, 8, 0);
    stripLayout->addWidget(readout_);
    table_ = new FixedCellTable(kUnitTablesSize, kUnitTablesSize, kColumnWidth, kRowHeight, this);
    table_->setObjectName(QStringLiteral("MatrixGrid"));
    table_->SetColumnWidth(0, kHeadingWidth);
    table_->SetRowHeight(0, kHeadingHeight);
    table_->SetFixedHeadings(true);
    table_->SetCellPainter([this](QPainter& painter, int col, int row, const QRect& rect, bool) {
        DrawCell(painter, col, row, rect);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip);
    layout->addWidget(table_, 1);

    BuildUnitTables(rules, decimalSeparator);
    table_->viewport()->setMouseTracking(true);
    table_->setMouseTracking(true);
    connect(table_, &FixedCellTable::CellPointed, this, [this, &rules, decimalSeparator](int col, int row) {
        readout_->setText(QString::fromStdString(UnitTablesReadout(rules, col, row, decimalSeparator)));
    });
}

void TShipMatrixForm::BuildUnitTables(const BattleRules& rules, char decimalSeparator) {
    const auto texts = UnitTablesTexts(rules, decimalSeparator);
    texts_.assign(texts.size(), {});
    for (std::size_t row = 0; row < texts.size(); ++row)
        for (const std::string& text : texts[row]) texts_[row].push_back(QString::fromStdString(text));
    classes_ = rules.tables.targetClass;
    table_->viewport()->update();
}

QString TShipMatrixForm::CellText(int col, int row) const {
    if (col < 0 || row < 0 || col >= kUnitTablesSize || row >= kUnitTablesSize) return {};
    return texts_[row][col];
}

UnitTablesTextStyle TShipMatrixForm::CellStyle(int col, int row) const {
    if (row == 0) return {kHeadingColour};
    if (col == 0) return {kNameColour};
    switch (classes_[col - 1][row - 1]) {
        case 1: return {kClass1Colour, true, false};
        case 2: return {kClass2Colour};
        case 3: return {kClass3Colour, false, true};
        // No target class: the cell is empty, and any text would vanish into the cell.
        default: return {kCellColour};
    }
}

QImage TShipMatrixForm::RenderCell(int col, int row) { return table_->RenderCell(col, row); }

void TShipMatrixForm::DrawCell(QPainter& painter, int col, int row, const QRect& rect) const {
    painter.fillRect(rect, kCellColour);
    DrawText(painter, col, row, rect);
    // One-pixel lines as filled rectangles: exact at any scale, untouched by antialiasing.
    painter.fillRect(rect.right(), rect.top(), 1, rect.height(),
                     ClosesRaceBlock(col) ? kRaceLineColour : kGridLineColour);
    painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1,
                     ClosesRaceBlock(row) ? kRaceLineColour : kGridLineColour);
}

void TShipMatrixForm::DrawText(QPainter& painter, int col, int row, const QRect& rect) const {
    const QString& text = texts_[row][col];
    if (text.isEmpty()) return;
    const UnitTablesTextStyle style = CellStyle(col, row);
    QFont font = this->font();
    font.setBold(style.bold);
    font.setItalic(style.italic);
    painter.setFont(font);
    painter.setPen(style.colour);
    const QFontMetrics metrics(font);
    const int x = rect.left() + std::max(kMinimumIndent, (rect.width() - metrics.horizontalAdvance(text)) / 2);
    const int y = rect.top() + (rect.height() - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(x, y, text);
}

}  // namespace kestrin
