#include "ui/ship_info/ship_details_form.h"

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/ship_info/fixed_cell_table.h"
#include "ui/common/listed_combo.h"

namespace kestrin {
namespace {

constexpr int kOuterWidth = 215;
constexpr int kStripHeight = 33;
constexpr int kColumnWidth = 100, kRowHeight = 18;
constexpr int kVisibleNames = 13;
// Free pixels beside the longest text of a column.
constexpr int kTextPadding = 12;
const QColor kCellColour(0, 0, 0);
const QColor kTextColour(200, 200, 200);
const QColor kLineColour(100, 100, 100);

// One label per statistic, in the catalogue's field order.
constexpr std::array<const char*, kShipFieldCount> kLabels = {
    "Name", "Race", "Class", "T1", "T2", "T3", "Initiative", "Agility", "Weapon Speed",
    "Guns", "Gun Power", "Armor", "EMP Resistance", "Metal", "Crystal", "Eonium", "Fuel",
    "ETA", "Ship Type"};

QFont DetailsFont() {
    QFont font;
    font.setFamily(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

}  // namespace

TShipDetailsForm::TShipDetailsForm(const ShipCatalogue& catalogue, QWidget* parent)
    : QWidget(parent, Qt::Tool), catalogue_(catalogue) {
    setWindowTitle(QStringLiteral("Ship Details"));
    setFont(DetailsFont());
    // Wide enough for the longest name or statistic the catalogue holds.
    labelWidth_ = LabelWidth();
    valueWidth_ = LongestValueWidth();
    // As tall as the rows, so that the table fills the window; taller, the rows stretch.
    resize(std::max(kOuterWidth, labelWidth_ + valueWidth_), kStripHeight + kShipFieldCount * kRowHeight);
    if (const QScreen* shown = screen())
        move(shown->availableGeometry().center() - rect().center());

    auto* strip = new QWidget(this);
    strip->setFixedHeight(kStripHeight);
    shipList_ = new QComboBox(strip);
    shipList_->setObjectName(QStringLiteral("ShipList"));
    shipList_->setGeometry(12, 4, 185, shipList_->sizeHint().height());
    LimitVisibleEntries(shipList_, kVisibleNames);
    for (ShipIndex ship = 0; ship < kShipCount; ++ship)
        shipList_->addItem(QString::fromStdString(catalogue_.Name(ship)));
    shipList_->setCurrentIndex(0);
    // Only the user's choices fill the table; ShowFor selects and fills in one step.
    connect(shipList_, &QComboBox::activated, this, &TShipDetailsForm::ShipListActivated);

    table_ = new FixedCellTable(2, kShipFieldCount, kColumnWidth, kRowHeight, this);
    table_->setObjectName(QStringLiteral("DetailsGrid"));
    table_->SetCellPainter([this](QPainter& painter, int col, int row, const QRect& rect, bool focused) {
        DrawCell(painter, col, row, rect, focused);
    });
    // Whatever the cells leave uncovered is the cells' own black, not a white band.
    QPalette black = table_->viewport()->palette();
    black.setColor(QPalette::Base, kCellColour);
    black.setColor(QPalette::Window, kCellColour);
    table_->viewport()->setPalette(black);
    table_->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip);
    layout->addWidget(table_, 1);
}

bool TShipDetailsForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::Resize) FitTable();
    return QWidget::eventFilter(watched, event);
}

int TShipDetailsForm::LabelWidth() const {
    const QFontMetrics metrics(font());
    int width = kColumnWidth;
    for (const char* label : kLabels) width = std::max(width, metrics.horizontalAdvance(label) + kTextPadding);
    return width;
}

int TShipDetailsForm::LongestValueWidth() const {
    const QFontMetrics metrics(font());
    int width = kColumnWidth;
    for (ShipIndex ship = 0; ship < kShipCount; ++ship) {
        for (const std::string& value : catalogue_[ship].fields)
            width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(value)) + kTextPadding);
    }
    return width;
}

// The columns share the table's width, the values column taking what the labels leave; the
// rows share its height, never below their own height (the table scrolls then).
void TShipDetailsForm::FitTable() {
    const QSize room = table_->size();
    table_->SetColumnWidth(0, labelWidth_);
    table_->SetColumnWidth(1, std::max(valueWidth_, room.width() - labelWidth_));
    const int rowHeight = std::max(kRowHeight, room.height() / kShipFieldCount);
    const int extra = rowHeight == kRowHeight ? 0 : room.height() % kShipFieldCount;
    for (int row = 0; row < kShipFieldCount; ++row) table_->SetRowHeight(row, rowHeight + (row < extra ? 1 : 0));
    // Scroll bars only when the cells do not fit; a bar shown for a moment while the window
    // is laid out would otherwise keep the other one shown as well.
    const bool fits = room.width() >= labelWidth_ + valueWidth_ && room.height() >= kShipFieldCount * kRowHeight;
    const Qt::ScrollBarPolicy policy = fits ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    table_->setHorizontalScrollBarPolicy(policy);
    table_->setVerticalScrollBarPolicy(policy);
}

void TShipDetailsForm::ShowShipDetails(ShipIndex type) {
    if (type < 0 || type >= kShipCount) return;
    for (int field = 0; field < kShipFieldCount; ++field)
        values_[field] = QString::fromStdString(catalogue_[type].fields[field]);
    setWindowTitle(QString::fromStdString(catalogue_.Name(type)) + QStringLiteral(" Details"));
    table_->viewport()->update();
}

void TShipDetailsForm::ShowFor(ShipIndex type, Side side) {
    if (type < 0 || type >= kShipCount) return;
    side_ = side;
    shipList_->setCurrentIndex(type);
    ShowShipDetails(type);
    show();
    raise();
    activateWindow();
    shipList_->setFocus(Qt::OtherFocusReason);
}

QString TShipDetailsForm::CellText(int col, int row) const {
    if (row < 0 || row >= kShipFieldCount) return {};
    if (col == 0) return QString::fromLatin1(kLabels[row]);
    if (col == 1) return values_[row];
    return {};
}

void TShipDetailsForm::ShipListActivated(int index) { ShowShipDetails(index); }

void TShipDetailsForm::DrawCell(QPainter& painter, int col, int row, const QRect& rect,
                                bool focused) const {
    painter.fillRect(rect, kCellColour);
    painter.setPen(kTextColour);
    painter.drawText(rect.adjusted(0, 0, -1, -1), Qt::AlignCenter, CellText(col, row));
    // One-pixel lines as filled rectangles: exact at any scale, untouched by antialiasing.
    painter.fillRect(rect.right(), rect.top(), 1, rect.height(), kLineColour);
    painter.fillRect(rect.left(), rect.bottom(), rect.width(), 1, kLineColour);
    if (focused) {
        painter.setPen(QPen(kTextColour, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        // Inside the cell's lines, so they stay whole around the focused cell.
        painter.drawRect(rect.adjusted(0, 0, -2, -2));
    }
}

}  // namespace kestrin
