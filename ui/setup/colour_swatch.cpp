#include "ui/setup/colour_swatch.h"

#include <QPainter>

namespace kestrin {

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

void ColourSwatch::SetColour(Rgb colour) {
    if (colour == colour_) return;
    colour_ = colour;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(contentsRect(), QColor(colour_.r, colour_.g, colour_.b));
    drawFrame(&painter);
}

}  // namespace kestrin
