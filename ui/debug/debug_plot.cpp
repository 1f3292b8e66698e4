#include "ui/debug/debug_plot.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kestrin {

namespace {

const QColor kAxes(200, 200, 200);
const QColor kAvailable(250, 250, 50);
const QColor kKillAll(50, 50, 250);
const QColor kCycle(0, 200, 0);

// Pixel offsets stay small; anything beyond the int range is off the image anyway.
int RoundPixels(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 1e9) return value < 0 ? -1000000000 : 1000000000;
    return static_cast<int>(std::rint(value));  // halves to even
}

/// Draws an axis-parallel line from `from` towards `to`, leaving the end pixel unpainted so
/// that joined lines meet without overdraw and a mark of length n covers exactly n pixels.
/// Filled one pixel wide, so that no pen cap style decides about the end pixel.
void Line(QPainter& painter, const QColor& colour, QPoint from, QPoint to) {
    QRect pixels;
    if (from.y() == to.y())
        pixels = QRect(QPoint(std::min(from.x(), to.x() + 1), from.y()),
                       QPoint(std::max(from.x(), to.x() - 1), from.y()));
    else
        pixels = QRect(QPoint(from.x(), std::min(from.y(), to.y() + 1)),
                       QPoint(from.x(), std::max(from.y(), to.y() - 1)));
    if (from != to) painter.fillRect(pixels, colour);
}

void DrawPlus(QPainter& painter, int x, int y) {
    Line(painter, kCycle, QPoint(x, y - 2), QPoint(x, y + 3));
    Line(painter, kCycle, QPoint(x - 2, y), QPoint(x + 3, y));
}

}  // namespace

QImage DrawDtPlot(QSize size, const DtPlotData& data) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int u = size.width() / 12;
    const int v = size.height() / 12;
    // A range of zero would make every mark infinitely high.
    const bool usableRange = std::isfinite(data.verticalRange) && data.verticalRange > 0;
    // Single precision, as the plot has always been scaled.
    const float horizontal = static_cast<float>(10 * u);
    const float vertical = static_cast<float>(10 * v) / static_cast<float>(usableRange ? data.verticalRange : 1.0);

    Line(painter, kAxes, QPoint(u, v), QPoint(u, 11 * v));
    Line(painter, kAxes, QPoint(u, 11 * v), QPoint(11 * u, 11 * v));

    const int yAvailable = 11 * v - RoundPixels(data.availableShots * vertical);
    Line(painter, kAvailable, QPoint(u, yAvailable), QPoint(11 * u, yAvailable));

    const int yKillAll = 11 * v - RoundPixels(data.shotsToKillAll * vertical);
    Line(painter, kKillAll, QPoint(u, yKillAll), QPoint(u + 11, yKillAll));

    for (const DtPlotPoint& point : data.cycles)
        DrawPlus(painter, u + RoundPixels(point.g * horizontal),
                 11 * v - RoundPixels(point.resultingShots * vertical));
    painter.end();
    return image;
}

}  // namespace kestrin
