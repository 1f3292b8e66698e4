#include "ui/setup/colour_picker.h"

#include <QMouseEvent>
#include <QPainter>

#include "settings/appearance.h"

namespace kestrin {

namespace {

constexpr int kColumns = 2;
constexpr int kRows = 8;
constexpr int kCellCount = kColumns * kRows;

}  // namespace

ColourPicker::ColourPicker(QWidget* parent) : QWidget(parent) {}

QRect ColourPicker::CellRect(int index) const {
    const int cellWidth = width() / kColumns;
    const int cellHeight = height() / kRows;
    return {(index % kColumns) * cellWidth, (index / kColumns) * cellHeight, cellWidth, cellHeight};
}

void ColourPicker::ClearSelection() {
    if (selected_ < 0) return;
    selected_ = -1;
    update();
}

int ColourPicker::CellAt(QPoint point) const {
    for (int i = 0; i < kCellCount; ++i)
        if (CellRect(i).contains(point)) return i;
    return -1;
}

void ColourPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const auto& colours = PickerColours();
    for (int i = 0; i < kCellCount; ++i) {
        const QRect cell = CellRect(i);
        const QRect inner = cell.adjusted(2, 2, -2, -2);
        painter.fillRect(inner, QColor(colours[i].r, colours[i].g, colours[i].b));
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(inner.adjusted(0, 0, -1, -1));
        if (i == selected_) {
            painter.setPen(palette().color(QPalette::Text));
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
    // A faded picker tells the user that nothing is chosen to be coloured yet.
    if (!isEnabled()) {
        QColor veil = palette().color(QPalette::Window);
        veil.setAlpha(160);
        painter.fillRect(rect(), veil);
    }
}

void ColourPicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const int index = CellAt(event->position().toPoint());
    if (index < 0) return;
    selected_ = index;
    update();
    emit ColourPicked(index);
}

}  // namespace kestrin
